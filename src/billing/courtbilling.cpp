#include "billing/courtbilling.h"

#include "data/calculations.h"
#include "data/daycount.h"
#include "data/displayformat.h"
#include "data/query.h"
#include "data/recordset.h"
#include "data/store.h"
#include "reservations/reservationstore.h"
#include "reservations/slots.h"

#include <cmath>

namespace CourtBilling {

QList<Line> unpaidLines(int datum, int platz)
{
    Query lines(QStringLiteral("select distinct Reservierer,Datum,Reservierungsnummer,Platz,Prozente,Bezahlt "
                               "from Reservierung where Datum =:pdatum and Platz between :pvonplatz and "
                               ":pbisplatz and not Bezahlt "
                               "order by Reservierer,Datum,Reservierungsnummer,Platz"));
    lines.setParam(QStringLiteral("pdatum"), datum);
    lines.setParam(QStringLiteral("pvonplatz"), platz);
    lines.setParam(QStringLiteral("pbisplatz"), platz);
    QList<Line> out;
    for (lines.open(); !lines.eof(); lines.next()) {
        Line line;
        line.reservierer = lines.field(QStringLiteral("Reservierer")).asString();
        line.datum = lines.field(QStringLiteral("Datum")).asInteger();
        line.reservierungsnummer = lines.field(QStringLiteral("Reservierungsnummer")).asInteger();
        line.platz = lines.field(QStringLiteral("Platz")).asInteger();
        line.prozente = lines.field(QStringLiteral("Prozente")).asInteger();
        out << line;
    }
    lines.close();
    for (Line& line : out) {
        const CourtReservationSpan span =
            courtReservationSpan(line.datum, line.reservierungsnummer, line.platz);
        line.dauer = span.dauer;
        line.startstamp = slotStart(line.datum, span.stunde, span.viertelstunde);
    }
    return out;
}

double stundenprozent(int stunde, int datum)
{
    RecordSet profile;
    profile.openQuery(QStringLiteral("select * from Preisprofil where Stundenindex=:pstunde"),
                      {{QStringLiteral("pstunde"), stunde}});
    if (profile.isEmpty())
        return 100;
    return profile.field(2 + dayOfWeek(datum)).asInteger();
}

Belegdaten readParameters(bool consumeReceiptNumber)
{
    // The receipt number is read and stored back under the lock, so two desks never print one twice.
    std::optional<Store::Transaction> transaction;
    if (consumeReceiptNumber) {
        transaction.emplace();
        Store::lockNumbers(QStringLiteral("receipt"));
    }
    RecordSet parameters;
    parameters.openTable(QStringLiteral("Kennzahlen"));
    Belegdaten beleg;
    beleg.firmenname = parameters.field(QStringLiteral("Firmenname")).asString();
    beleg.beleganzahl = parameters.field(QStringLiteral("Beleganzahl")).asInteger();
    beleg.strasse = parameters.field(QStringLiteral("Strasse")).asString();
    beleg.plzOrt = parameters.field(QStringLiteral("PLZOrt")).asString();
    beleg.telefon = parameters.field(QStringLiteral("Telefon")).asString();
    beleg.belegdruck = parameters.field(QStringLiteral("Belegdruck")).asInteger();
    beleg.belegnummer = parameters.field(QStringLiteral("Belegid")).asInteger();
    if (consumeReceiptNumber) {
        ++beleg.belegnummer;
        parameters.setField(QStringLiteral("Belegid"), beleg.belegnummer);
        parameters.post();
    }
    parameters.close();
    if (transaction)
        transaction->commit();
    return beleg;
}

std::optional<Bill> bill(const Line& line, int court, double now, Belegdaten beleg)
{
    Query price(QStringLiteral("select Tischfarben.Stundenpreis,Tischfarben.Tischtyp from Tische,Tischfarben "
                               "where Tische.Tischnummer =:pcourt and Tischfarben.TypNr =Tische.TypNr"));
    price.setParam(QStringLiteral("pcourt"), court);
    price.open();
    int rows = 0;
    double stundenpreis = 0;
    for (; !price.eof(); price.next(), ++rows) {
        stundenpreis = price.field(0).asFloat();
        beleg.tischtyp = price.field(1).asString();
    }
    price.close();
    if (rows != 1)
        return std::nullopt;
    beleg.stundenpreis = DisplayFormat::general(stundenpreis);
    const double quarterPrice = stundenpreis / 4;

    Query quarters(
        QStringLiteral("select * from Reservierung where Reservierungsnummer =:Reservierungsnummer "
                       "and Platz=:Platz and Datum=:Datum"));
    quarters.setParam(QStringLiteral("Reservierungsnummer"), line.reservierungsnummer);
    quarters.setParam(QStringLiteral("Platz"), line.platz);
    quarters.setParam(QStringLiteral("Datum"), line.datum);
    QList<std::pair<int, int>> hours; // Stunde, Datum of each quarter
    for (quarters.open(); !quarters.eof(); quarters.next())
        hours.append({quarters.field(QStringLiteral("Stunde")).asInteger(),
                      quarters.field(QStringLiteral("Datum")).asInteger()});
    quarters.close();
    double sum = 0.0;
    for (const auto& [stunde, datum] : hours)
        sum = sum + stundenprozent(stunde, datum) * quarterPrice / 100;
    const double amount = (100 - double(line.prozente)) * sum / 100;
    Bill bill;
    bill.betrag = fRunden(amount);

    Store::Transaction transaction;
    Query paid(QStringLiteral("update Reservierung set Bezahlt = TRUE where Reservierungsnummer "
                              "=:Reservierungsnummer and Platz=:Platz and Datum=:Datum and not Bezahlt"));
    paid.setParam(QStringLiteral("Reservierungsnummer"), line.reservierungsnummer);
    paid.setParam(QStringLiteral("Platz"), line.platz);
    paid.setParam(QStringLiteral("Datum"), line.datum);
    // Another desk may have billed the reservation since the list was read: billed once only.
    if (paid.exec() == 0)
        throw StoreError(QStringLiteral("The reservation has been paid already."));
    RecordSet lines;
    lines.openQuery(QStringLiteral("select * from Tischabrechnung where 1=3"));
    lines.append();
    lines.setField(QStringLiteral("Tischnummer"), court);
    lines.setField(QStringLiteral("Einschreibdatum"), now);
    lines.setField(QStringLiteral("Betrag"), bill.betrag);
    lines.setField(QStringLiteral("DrinksundSnacks"), 0.0);
    lines.setField(QStringLiteral("Abgerechnet"), false);
    lines.setField(QStringLiteral("Startzeit"), line.startstamp);
    lines.setField(QStringLiteral("Quaters"), line.dauer);
    lines.setField(QStringLiteral("Reservierer"), line.reservierer);
    lines.post();
    transaction.commit();
    beleg.startzeit = DisplayFormat::dateLongTime(line.startstamp);
    beleg.quaters = QString::number(line.dauer);
    bill.beleg = beleg;
    return bill;
}

} // namespace CourtBilling
