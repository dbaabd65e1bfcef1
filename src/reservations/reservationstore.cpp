#include "reservations/reservationstore.h"

#include "data/query.h"
#include "data/recordset.h"
#include "data/store.h"

#include <cmath>

int fNeueReservierungsnummer()
{
    static Query q(QStringLiteral("select max(Reservierungsnummer) maxnummer from Reservierung"));
    q.open();
    const int number = q.field(0).asInteger() + 1;
    q.close();
    return number;
}

namespace {

void appendRow(RecordSet& rows, int datum, const Slot& slot, int number, const QString& name,
               int mitgliedsnummer, int prozente)
{
    rows.append();
    rows.setField(QStringLiteral("Datum"), datum);
    rows.setField(QStringLiteral("Stunde"), slot.stunde);
    rows.setField(QStringLiteral("Viertelstunde"), slot.viertelstunde);
    rows.setField(QStringLiteral("Platz"), slot.platz);
    rows.setField(QStringLiteral("Reservierungsnummer"), number);
    rows.setField(QStringLiteral("Reservierer"), name);
    rows.setField(QStringLiteral("Mitgliedsnummer"), mitgliedsnummer);
    rows.setField(QStringLiteral("Prozente"), prozente);
    rows.setField(QStringLiteral("Bezahlt"), false);
    rows.post();
}

} // namespace

int storeReservation(const NewReservation& reservation, const std::function<void(int court)>& afterCourt)
{
    Store::Transaction transaction;
    // Another desk drawing a number at the same moment waits here until this booking is stored.
    Store::lockNumbers(QStringLiteral("reservation"));
    const int number = fNeueReservierungsnummer();
    const QString name =
        reservation.reservierer.trimmed().isEmpty() ? QStringLiteral("noname") : reservation.reservierer;
    const int prozente = int(std::nearbyint(reservation.prozente));
    RecordSet rows;
    rows.openQuery(QStringLiteral("select * from Reservierung where 1=3"));
    std::vector<Slot> chosen = reservation.selected;
    std::stable_sort(chosen.begin(), chosen.end(),
                     [](const Slot& a, const Slot& b) { return a.platz < b.platz; });
    auto next = chosen.cbegin();
    for (int court = 1; court <= courtCount; ++court) {
        for (; next != chosen.cend() && next->platz == court; ++next)
            appendRow(rows, reservation.datum, *next, number, name, reservation.mitgliedsnummer, prozente);
        if (afterCourt)
            afterCourt(court);
    }
    // No slot may be dropped silently: a court outside the grid's twelve ends the save unstored.
    if (next != chosen.cend())
        throw StoreError(QStringLiteral("Court %1 cannot be booked.").arg(next->platz));
    rows.close();
    transaction.commit();
    return number;
}

void cancelReservation(const CourtReservation& line, double recorded)
{
    Store::Transaction transaction;
    RecordSet log;
    log.openQuery(QStringLiteral("select * from Aktivitaet where 1 = 2"));
    log.append();
    log.setField(QStringLiteral("Aufzeichnung"), recorded);
    log.setField(QStringLiteral("Datum"), line.datum);
    log.setField(QStringLiteral("Reservierer"), line.reservierer);
    log.setField(QStringLiteral("Platz"), line.platz);
    log.setField(QStringLiteral("Startzeit"), startTimeText(line.start()));
    log.setField(QStringLiteral("Laufzeit"), line.dauer);
    log.post();
    log.close();
    Query remove(
        QStringLiteral("delete from Reservierung where Reservierungsnummer =:preservierungsnummer "));
    remove.setParam(QStringLiteral("preservierungsnummer"), line.reservierungsnummer);
    remove.exec();
    transaction.commit();
}

int purgeReservations(int today, int days)
{
    Query purge(QStringLiteral("delete from Reservierung where Datum < :pdatum"));
    purge.setParam(QStringLiteral("pdatum"), today - days);
    return purge.exec();
}

CourtReservationSpan courtReservationSpan(int datum, int reservierungsnummer, int platz)
{
    static Query detail(
        QStringLiteral("select count(Viertelstunde) viertelstunden, min(Stunde*4+Viertelstunde-5) "
                       "erstes from Reservierung "
                       "where Datum=:pdatum and Reservierungsnummer=:pnummer and Platz=:pplatz"));
    detail.setParam(QStringLiteral("pdatum"), datum);
    detail.setParam(QStringLiteral("pnummer"), reservierungsnummer);
    detail.setParam(QStringLiteral("pplatz"), platz);
    detail.open();
    CourtReservationSpan span;
    span.dauer = detail.field(0).asInteger();
    const int first = detail.field(1).asInteger();
    span.stunde = first / 4 + 1;
    span.viertelstunde = first % 4 + 1;
    detail.close();
    return span;
}

namespace {

// Length and first slot of each line, from the rows of its day, number and court.
QList<CourtReservation> withLengths(Query& lines, bool hasBezahlt)
{
    QList<CourtReservation> out;
    for (; !lines.eof(); lines.next()) {
        CourtReservation r;
        r.reservierer = lines.field(QStringLiteral("Reservierer")).asString();
        r.datum = lines.field(QStringLiteral("Datum")).asInteger();
        r.reservierungsnummer = lines.field(QStringLiteral("Reservierungsnummer")).asInteger();
        r.platz = lines.field(QStringLiteral("Platz")).asInteger();
        r.bezahlt = hasBezahlt && lines.field(QStringLiteral("Bezahlt")).asBoolean();
        out << r;
    }
    lines.close();
    for (CourtReservation& r : out) {
        const CourtReservationSpan span = courtReservationSpan(r.datum, r.reservierungsnummer, r.platz);
        r.dauer = span.dauer;
        r.stunde = span.stunde;
        r.viertelstunde = span.viertelstunde;
    }
    return out;
}

} // namespace

QList<CourtReservation> courtReservationsOfDay(int datum, int vonPlatz, int bisPlatz, ListOrder order)
{
    static Query byReservator(
        QStringLiteral("select distinct Reservierer,Datum,Reservierungsnummer,Platz,Bezahlt from "
                       "Reservierung where "
                       "Datum =:pdatum  and Platz  between :pvonplatz and :pbisplatz order by "
                       "Datum,Reservierer,Reservierungsnummer,Platz"));
    static Query byCourt(
        QStringLiteral("select distinct Reservierer,Datum,Reservierungsnummer,Platz,Bezahlt from "
                       "Reservierung where "
                       "Datum =:pdatum   and Platz  between :pvonplatz and :pbisplatz order by "
                       "Datum,Platz,Reservierer,Reservierungsnummer"));
    Query& q = order == ListOrder::byReservator ? byReservator : byCourt;
    q.setParam(QStringLiteral("pdatum"), datum);
    q.setParam(QStringLiteral("pvonplatz"), vonPlatz);
    q.setParam(QStringLiteral("pbisplatz"), bisPlatz);
    q.open();
    return withLengths(q, true);
}

QList<CourtReservation> courtReservationsOfRange(int von, int bis, int vonPlatz, int bisPlatz)
{
    static Query q(QStringLiteral(
        "select distinct Reservierer,Datum,Reservierungsnummer,Platz from Reservierung where "
        "Datum between :pvondatum  and :pbisdatum  and Platz  between :pvonplatz and :pbisplatz "
        "order by Datum,Platz,Reservierer,Reservierungsnummer"));
    q.setParam(QStringLiteral("pvondatum"), von);
    q.setParam(QStringLiteral("pbisdatum"), bis);
    q.setParam(QStringLiteral("pvonplatz"), vonPlatz);
    q.setParam(QStringLiteral("pbisplatz"), bisPlatz);
    q.open();
    return withLengths(q, false);
}
