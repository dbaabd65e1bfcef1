#include "courts/courtrecords.h"

#include "courts/courtplan.h"
#include "data/query.h"
#include "data/recordset.h"
#include "data/store.h"

namespace CourtRecords {

NewCourt checkNewCourt(const QString& typeText, const QString& numberText, int& number)
{
    if (typeText.isEmpty())
        return NewCourt::NoType;
    bool ok = false;
    const int n = numberText.toInt(&ok);
    if (!ok)
        return NewCourt::NotANumber;
    if (n < CourtPlan::firstCourt || n > CourtPlan::lastCourt)
        return NewCourt::OutOfRange;
    number = n;
    return NewCourt::Ok;
}

QString message(NewCourt check)
{
    switch (check) {
    case NewCourt::NoType: return QStringLiteral("you must select a courttype !");
    case NewCourt::NotANumber: return QStringLiteral("input a regular courtnumber");
    case NewCourt::OutOfRange: return QStringLiteral("only the courtnumbers 1-12 are allowed !");
    case NewCourt::Ok: break;
    }
    return {};
}

void installCourt(int court, int typNr)
{
    RecordSet courts;
    courts.openTable(QStringLiteral("Tische"), QStringLiteral("Tischnummer"));
    courts.append();
    courts.setField(QStringLiteral("Tischnummer"), court);
    courts.setField(QStringLiteral("Aktiv"), false);
    courts.setField(QStringLiteral("Startzeit"), 0);
    courts.setField(QStringLiteral("Stopzeit"), 0);
    courts.setField(QStringLiteral("Summe Laufzeit"), 0);
    courts.setField(QStringLiteral("XPosition"), 0);
    courts.setField(QStringLiteral("YPosition"), 0);
    courts.setField(QStringLiteral("TypNr"), typNr);
    courts.setField(QStringLiteral("Abrechnungsart"), 0);
    try {
        courts.post();
    } catch (const StoreError&) {
        courts.cancel();
        throw;
    }
}

bool courtExists(int court)
{
    Query q(QStringLiteral("select Tischnummer from Tische where Tischnummer =:ptisch"));
    q.setParam(QStringLiteral("ptisch"), court);
    q.open();
    return !q.eof();
}

void destroyCourt(int court)
{
    // One unit: reservations gone while the court remains would be a court nobody booked.
    Store::Transaction transaction;
    Query reservations(QStringLiteral("delete from Reservierung where Platz =:ptisch"));
    reservations.setParam(QStringLiteral("ptisch"), court);
    reservations.exec();
    Query row(QStringLiteral("delete from Tische where Tischnummer =:ptisch"));
    row.setParam(QStringLiteral("ptisch"), court);
    row.exec();
    transaction.commit();
}

int nextTypNr()
{
    Query q(QStringLiteral("select max(TypNr) maxid from Tischfarben"));
    q.open();
    return q.field(0).asInteger() + 1;
}

void confirmTypNr(RecordSet& types)
{
    Store::lockNumbers(QStringLiteral("court type"));
    const QString field = QStringLiteral("TypNr");
    Query taken(QStringLiteral("select count(*) from Tischfarben where TypNr = :ptypnr"));
    taken.setParam(QStringLiteral("ptypnr"), types.field(field).asInteger());
    taken.open();
    if (taken.field(0).asInteger() > 0)
        types.setField(field, nextTypNr());
}

bool isReservedColour(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    return rgb == QColor(255, 0, 0) || rgb == QColor(255, 255, 0);
}

} // namespace CourtRecords
