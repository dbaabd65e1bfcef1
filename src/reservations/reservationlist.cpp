#include "reservations/reservationlist.h"

#include "data/displayformat.h"
#include "data/query.h"

CourtRange courtRangeOf(int court)
{
    if (court == allCourts)
        return {};
    return {court, court};
}

std::array<CourtButtonState, courtCount + 1> courtButtonStates()
{
    std::array<CourtButtonState, courtCount + 1> states{};
    states[0] = {allCourtsColour, true};
    Query courts(QStringLiteral("select Tische.Tischnummer, Tischfarben.Tischfarbe, Tischfarben.TypNr "
                                "from Tische left join Tischfarben on Tischfarben.TypNr = Tische.TypNr "
                                "where Tische.Tischnummer between 1 and :pbis order by Tische.Tischnummer"));
    courts.setParam(QStringLiteral("pbis"), courtCount);
    for (courts.open(); !courts.eof(); courts.next()) {
        const int court = courts.field(0).asInteger();
        const bool typed = !courts.field(2).isEmpty();
        states[std::size_t(court)] = {
            typed ? colourFromStored(courts.field(1).asInteger()) : untypedCourtColour, true};
    }
    courts.close();
    return states;
}

ReservationListModel::ReservationListModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

const GridColumns& ReservationListModel::gridColumns()
{
    using Display = GridColumn::Display;
    static const GridColumns columns{
        {QStringLiteral("Reservierer"), QStringLiteral("Reservator"), 190},
        {QStringLiteral("Platz"), QStringLiteral("Court"), 50, Qt::AlignRight | Qt::AlignVCenter},
        {QStringLiteral("Startzeit"), QStringLiteral("Begin"), 80, Qt::AlignCenter},
        {QStringLiteral("Dauer"), QStringLiteral("Quaters"), 60, Qt::AlignRight | Qt::AlignVCenter},
        {QStringLiteral("Bezahlt"), QStringLiteral("Payed"), 60, Qt::AlignLeft | Qt::AlignVCenter,
         Display::Flag, true, QColor(0, 128, 0), QColor(255, 255, 0)},
    };
    return columns;
}

void ReservationListModel::setLines(const QList<CourtReservation>& lines)
{
    beginResetModel();
    lines_ = lines;
    endResetModel();
}

int ReservationListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(lines_.size());
}

int ReservationListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(gridColumns().size());
}

QVariant ReservationListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= lines_.size())
        return {};
    const CourtReservation& line = lines_[index.row()];
    const GridColumn& column = gridColumns()[index.column()];
    switch (role) {
    case Qt::DisplayRole:
        switch (Column(index.column())) {
        case Reservator: return line.reservierer;
        case Court: return line.platz;
        case Begin: return startTimeText(line.start());
        case Quarters: return line.dauer;
        case Paid: return DisplayFormat::logical(line.bezahlt);
        }
        return {};
    case Qt::TextAlignmentRole: return QVariant::fromValue(column.alignment);
    case Qt::BackgroundRole:
        if (column.display == GridColumn::Display::Flag)
            return line.bezahlt ? column.trueColour : column.falseColour;
        return {};
    case Qt::ForegroundRole:
        // Dark text on the yellow, light on the green, whatever the desk's colour scheme.
        if (column.display == GridColumn::Display::Flag)
            return line.bezahlt ? QColor(Qt::white) : QColor(Qt::black);
        return {};
    default: return {};
    }
}

QVariant ReservationListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section >= 0 && section < gridColumns().size()) {
        if (role == Qt::DisplayRole)
            return gridColumns()[section].caption;
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(gridColumns()[section].alignment);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}
