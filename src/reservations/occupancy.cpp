#include "reservations/occupancy.h"

#include "data/rowreader.h"

OccupancyGrid::OccupancyGrid(int von, int bis)
    : von_(von)
    , bis_(std::max(bis, von - 1))
    , cells_(qsizetype(days()) * courtCount * slotsPerDay, Belegung::frei)
{
}

bool OccupancyGrid::contains(int datum, const Slot& slot) const
{
    return datum >= von_ && datum <= bis_ && slot.platz >= 1 && slot.platz <= courtCount &&
           slot.stunde >= 1 && slot.stunde <= 24 && slot.viertelstunde >= 1 && slot.viertelstunde <= 4;
}

int OccupancyGrid::index(int datum, const Slot& slot) const
{
    return ((datum - von_) * courtCount + slot.platz - 1) * slotsPerDay + (slot.stunde - 1) * 4 +
           slot.viertelstunde - 1;
}

Belegung OccupancyGrid::at(int datum, const Slot& slot) const
{
    return contains(datum, slot) ? cells_[index(datum, slot)] : Belegung::frei;
}

void OccupancyGrid::set(int datum, const Slot& slot, Belegung state)
{
    if (contains(datum, slot))
        cells_[index(datum, slot)] = state;
}

namespace {

// The walk needs these columns only; the index on them answers the query without the table.
const QString walkSql = QStringLiteral("select Datum,Platz,Stunde,Viertelstunde,Reservierungsnummer,Bezahlt "
                                       "from Reservierung where Datum between :pvondatum and :pbisdatum "
                                       "order by Datum,Platz,Stunde,Viertelstunde,Reservierungsnummer");

} // namespace

OccupancyGrid fBelegung(int von, int bis)
{
    // Read thousands of times a week, straight from the engine, without a QVariant per value.
    static RowReader q(walkSql);
    OccupancyGrid grid(von, bis);
    q.setParam(QStringLiteral("pvondatum"), von);
    q.setParam(QStringLiteral("pbisdatum"), bis);
    q.open();
    int previousCourt = -17;
    long long previousNumber = -17;
    int shade = 0;
    for (; !q.eof(); q.next()) {
        const int platz = q.integer(1);
        const long long number = q.largeInt(4);
        if (platz != previousCourt) {
            previousCourt = platz;
            previousNumber = -17;
            shade = 0;
        }
        if (number != previousNumber) {
            previousNumber = number;
            shade = 1 - shade;
        }
        const Belegung state = q.integer(5) != 0 ? Belegung::bezahlt
                               : shade == 1      ? Belegung::reserviert1
                                                 : Belegung::reserviert2;
        grid.set(q.integer(0), Slot{q.integer(2), q.integer(3), platz}, state);
    }
    q.close();
    return grid;
}
