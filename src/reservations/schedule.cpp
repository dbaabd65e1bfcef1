#include "reservations/schedule.h"

#include "data/calculations.h"
#include "data/displayformat.h"
#include "data/query.h"

#include <array>

namespace Schedule {

DayHeading dayHeading(int datum)
{
    return {Wochentagskuerzel[dayOfWeek(datum)], DisplayFormat::date(datum)};
}

namespace {
const std::array<int, 5> retention{7, 30, 92, 182, 365};
} // namespace

QStringList retentionChoices()
{
    return {QStringLiteral("delete reservations older than 1 week"),
            QStringLiteral("delete reservations older than 1 month"),
            QStringLiteral("delete reservations older than 3 month"),
            QStringLiteral("delete reservations older than a half year"),
            QStringLiteral("delete reservations older than a year")};
}

int retentionDays(int index)
{
    return retention[std::clamp(index, 0, int(retention.size()) - 1)];
}

std::optional<Booking> bookingAt(int datum, const Slot& slot)
{
    Query row(QStringLiteral("select Reservierungsnummer, Reservierer, Bezahlt from Reservierung "
                             "where Datum = :pdatum and Platz = :pplatz and Stunde = :pstunde and "
                             "Viertelstunde = :pviertelstunde order by Reservierungsnummer"));
    row.setParam(QStringLiteral("pdatum"), datum);
    row.setParam(QStringLiteral("pplatz"), slot.platz);
    row.setParam(QStringLiteral("pstunde"), slot.stunde);
    row.setParam(QStringLiteral("pviertelstunde"), slot.viertelstunde);
    row.open();
    if (row.eof())
        return std::nullopt;
    Booking booking;
    booking.reservierungsnummer = row.field(0).asInteger();
    booking.reservierer = row.field(1).asString();
    booking.bezahlt = row.field(2).asBoolean();
    row.close();
    Query span(
        QStringLiteral("select min(Stunde*4+Viertelstunde-5) erstes, max(Stunde*4+Viertelstunde-5) letztes "
                       "from Reservierung where Datum = :pdatum and Platz = :pplatz and "
                       "Reservierungsnummer = :pnummer"));
    span.setParam(QStringLiteral("pdatum"), datum);
    span.setParam(QStringLiteral("pplatz"), slot.platz);
    span.setParam(QStringLiteral("pnummer"), booking.reservierungsnummer);
    span.open();
    const int first = span.field(0).asInteger();
    const int last = span.field(1).asInteger();
    booking.begin = slotStart(datum, first / 4 + 1, first % 4 + 1);
    booking.end = slotStart(datum, last / 4 + 1, last % 4 + 1) + 1.0 / slotsPerDay;
    return booking;
}

QString bookingText(const Booking& booking)
{
    return QStringLiteral("%1, %2 - %3, %4")
        .arg(booking.reservierer, DisplayFormat::amPmTime(booking.begin),
             DisplayFormat::amPmTime(booking.end),
             booking.bezahlt ? QStringLiteral("paid") : QStringLiteral("not paid"));
}

} // namespace Schedule
