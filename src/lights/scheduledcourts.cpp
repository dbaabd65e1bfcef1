#include "lights/scheduledcourts.h"

#include "data/query.h"
#include "data/rowreader.h"

#include <algorithm>

namespace LightSchedule {

namespace {

constexpr int defaultMinutes = 5;

// A field of the court row, or nothing when the installation has no such field.
FieldValue fieldIfAny(const Query& courts, const QString& name)
{
    for (int i = 0; i < courts.fieldCount(); ++i)
        if (courts.fieldName(i).compare(name, Qt::CaseInsensitive) == 0)
            return courts.field(i);
    return FieldValue();
}

int minutesOf(const FieldValue& value)
{
    return value.isEmpty() ? defaultMinutes : std::clamp(value.asInteger(), 0, 30);
}

} // namespace

std::map<int, Court> courtsAround(int datum)
{
    std::map<int, Court> all;
    Query courts(QStringLiteral("select * from Tische"));
    for (courts.open(); !courts.eof(); courts.next()) {
        Court& court = all[courts.field(QStringLiteral("Tischnummer")).asInteger()];
        court.anschluss = courts.field(QStringLiteral("Anschluss")).asInteger();
        court.automatic = fieldIfAny(courts, QStringLiteral("Lichtautomatik")).asBoolean();
        court.runUp = minutesOf(fieldIfAny(courts, QStringLiteral("Vorlauf")));
        court.runDown = minutesOf(fieldIfAny(courts, QStringLiteral("Nachlauf")));
    }
    courts.close();
    static RowReader booked(QStringLiteral("select Platz, Datum, Stunde, Viertelstunde from Reservierung "
                                           "where Datum between :pvon and :pbis"));
    booked.setParam(QStringLiteral("pvon"), datum - 1);
    booked.setParam(QStringLiteral("pbis"), datum + 1);
    for (booked.open(); !booked.eof(); booked.next()) {
        const auto court = all.find(booked.integer(0));
        if (court != all.end())
            court->second.booked.push_back({booked.integer(1), booked.integer(2), booked.integer(3)});
    }
    booked.close();
    return all;
}

} // namespace LightSchedule
