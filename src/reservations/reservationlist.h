#pragma once

#include "data/gridcolumn.h"
#include "data/storedcolour.h"
#include "reservations/reservationstore.h"
#include "reservations/slots.h"

#include <QAbstractTableModel>
#include <QColor>

#include <array>

// The data half of the reservation list: which courts a court selector stands for, what the
// court buttons remember from the court types, and the day's lines as a table for the grid.

// The court selector holds -1 for all courts or one court number.
inline constexpr int allCourts = -1;

struct CourtRange {
    int von = 1;
    int bis = courtCount;
};
// -1 gives courts 1 to 12, a court number N gives N to N.
CourtRange courtRangeOf(int court);

inline const QColor allCourtsColour{192, 220, 192}; // money green
inline const QColor noCourtColour{192, 192, 192};   // silver
inline const QColor selectedCourtColour{255, 0, 0};
// A court whose type has no colour row: it exists, so it must not look like silver.
inline const QColor untypedCourtColour{255, 255, 255};

struct CourtButtonState {
    QColor colour = noCourtColour;
    bool exists = false;
};
// Index 0 is "all courts", 1 to 12 the courts: the colour of the court's type where the court has
// a Tische row, silver where it has none. Whether a court exists is kept apart from its colour,
// so a court type painted silver still counts as existing courts.
std::array<CourtButtonState, courtCount + 1> courtButtonStates();

// The day's court reservations as the list shows them, one line per number and court.
class ReservationListModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Reservator, Court, Begin, Quarters, Paid };

    explicit ReservationListModel(QObject* parent = nullptr);

    static const GridColumns& gridColumns();

    void setLines(const QList<CourtReservation>& lines);
    const QList<CourtReservation>& lines() const { return lines_; }
    const CourtReservation& line(int row) const { return lines_.at(row); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<CourtReservation> lines_;
};
