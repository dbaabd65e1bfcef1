#pragma once

#include "reservations/slots.h"

#include <QVector>

#include <cstdint>

// State of one court quarter-hour as the grids colour it.
enum class Belegung : std::uint8_t { frei, reserviert1, reserviert2, bezahlt, gewaehlt, keinplatz };

// 0xRRGGBB of the state's colour.
constexpr std::uint32_t belegungRgb(Belegung b)
{
    switch (b) {
    case Belegung::frei: return 0x808080;
    case Belegung::reserviert1: return 0x800000;
    case Belegung::reserviert2: return 0x000080;
    case Belegung::bezahlt: return 0x008000;
    case Belegung::gewaehlt: return 0xFF0000;
    case Belegung::keinplatz: return 0x000000;
    }
    return 0x808080;
}

// The states of every court quarter-hour of the days von to bis; slots without a row are frei.
class OccupancyGrid {
public:
    OccupancyGrid() = default;
    OccupancyGrid(int von, int bis);

    int von() const { return von_; }
    int bis() const { return bis_; }
    int days() const { return bis_ - von_ + 1; }
    bool contains(int datum, const Slot& slot) const;
    Belegung at(int datum, const Slot& slot) const;
    void set(int datum, const Slot& slot, Belegung state);
    // The 12 x 96 states of one day in the range, court by court, each court's quarters in the
    // order of the day; for callers that walk a whole day.
    const Belegung* day(int datum) const
    {
        return cells_.constData() + qsizetype(datum - von_) * courtCount * slotsPerDay;
    }

private:
    int index(int datum, const Slot& slot) const;
    int von_ = 0;
    int bis_ = -1;
    QVector<Belegung> cells_;
};

// The occupancy walk over Reservierung for the days von to bis (day counts). The shade of an
// unpaid row alternates with each change of reservation number and restarts with each change of
// court, in the order Datum, Platz, Stunde, Viertelstunde, Reservierungsnummer.
OccupancyGrid fBelegung(int von, int bis);
