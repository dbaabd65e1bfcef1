#include "reservations/occupancy.h"

#include "data/query.h"
#include "data/rowreader.h"
#include "data/store.h"

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

// One row of the walk, as either reader gives it.
struct WalkRow {
    int datum = 0;
    int platz = 0;
    int stunde = 0;
    int viertelstunde = 0;
    long long number = 0;
    bool paid = false;
};

// The walk itself, the same over both readers: read(q) gives the row under the reader.
template <class Reader, class Read> OccupancyGrid walk(Reader& q, int von, int bis, Read read)
{
    OccupancyGrid grid(von, bis);
    q.setParam(QStringLiteral("pvondatum"), von);
    q.setParam(QStringLiteral("pbisdatum"), bis);
    q.open();
    int previousCourt = -17;
    long long previousNumber = -17;
    int shade = 0;
    for (; !q.eof(); q.next()) {
        const WalkRow row = read(q);
        if (row.platz != previousCourt) {
            previousCourt = row.platz;
            previousNumber = -17;
            shade = 0;
        }
        if (row.number != previousNumber) {
            previousNumber = row.number;
            shade = 1 - shade;
        }
        const Belegung state = row.paid     ? Belegung::bezahlt
                               : shade == 1 ? Belegung::reserviert1
                                            : Belegung::reserviert2;
        grid.set(row.datum, Slot{row.stunde, row.viertelstunde, row.platz}, state);
    }
    q.close();
    return grid;
}

// The walk needs these columns only; the index on them answers the query without the table.
const QString walkSql = QStringLiteral("select Datum,Platz,Stunde,Viertelstunde,Reservierungsnummer,Bezahlt "
                                       "from Reservierung where Datum between :pvondatum and :pbisdatum "
                                       "order by Datum,Platz,Stunde,Viertelstunde,Reservierungsnummer");

} // namespace

OccupancyGrid fBelegungSqlite(int von, int bis)
{
    static RowReader q(walkSql);
    return walk(q, von, bis, [](const RowReader& r) {
        return WalkRow{r.integer(0), r.integer(1),  r.integer(2),
                       r.integer(3), r.largeInt(4), r.integer(5) != 0};
    });
}

OccupancyGrid fBelegungQt(int von, int bis)
{
    static Query q(walkSql);
    return walk(q, von, bis, [](const Query& r) {
        return WalkRow{r.field(0).asInteger(), r.field(1).asInteger(), r.field(2).asInteger(),
                       r.field(3).asInteger(), r.field(4).asInteger(), r.field(5).asBoolean()};
    });
}

OccupancyGrid fBelegung(int von, int bis)
{
    // SQLite steps its statement straight from the file for the thousands of rows of a week; the
    // server is read through Qt SQL.
    return Store::engine() == Engine::SQLite ? fBelegungSqlite(von, bis) : fBelegungQt(von, bis);
}
