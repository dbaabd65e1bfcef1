#include "install/demodata.h"

#include "install/schema.h"

#include <QSqlError>
#include <QSqlQuery>

#include <cmath>

namespace {

struct Booking {
    int dayOffset;
    int platz;
    int stunde;
    int viertel;
    int quarters;
    const char* name;
    int member;  // -17 for a player who is no member
    int percent; // discount
};

using RowWriter = Schema::Statement;

const QString reservationInsert =
    QStringLiteral("insert into Reservierung (Reservierungsnummer, Datum, Stunde, Viertelstunde, "
                   "Platz, Reservierer, "
                   "Mitgliedsnummer, Prozente, Bezahlt) values (?, ?, ?, ?, ?, ?, ?, ?, ?)");

} // namespace

namespace DemoData {

void insert(QSqlDatabase& db, int today, double now)
{
    // Eight courts in two rows of four on the floor plan (tiles are 108 x 92).
    RowWriter courts(db, QStringLiteral("insert into Tische (Tischnummer, Aktiv, Startzeit, Stopzeit, "
                                        "\"Summe Laufzeit\", XPosition, YPosition, TypNr, Abrechnungsart, "
                                        "Anschluss) values (?, ?, 0, 0, 0, ?, ?, ?, 0, ?)"));
    for (int n = 1; n <= 8; ++n) {
        const int column = (n - 1) % 4;
        const int row = (n - 1) / 4;
        courts.write({n, false, 24 + column * 136, 90 + row * 124, n <= 5 ? 1 : 2, n});
    }

    const char* const members[][5] = {
        {"Brandt", "Lukas", "Berlin", "10115", "Invalidenstr."},
        {"Schulz", "Marie", "Berlin", "10117", "Friedrichstr."},
        {"Weber", "Jonas", "Potsdam", "14467", "Lindenstr."},
        {"Fischer", "Lea", "Berlin", "10243", "Warschauer Str."},
        {"Becker", "Paul", "Berlin", "10405", "Prenzlauer Allee"},
        {"Hoffmann", "Emma", "Berlin", "10551", "Turmstr."},
        {"Koch", "Felix", "Teltow", "14513", "Ritterstr."},
        {"Richter", "Mia", "Berlin", "12043", "Karl-Marx-Str."},
        {"Klein", "Noah", "Berlin", "10627", "Kantstr."},
        {"Wolf", "Hannah", "Berlin", "13353", "Seestr."},
        {"Neumann", "Elias", "Falkensee", "14612", "Bahnhofstr."},
        {"Zimmermann", "Sophie", "Berlin", "10785", "Potsdamer Str."},
    };
    RowWriter member(db,
                     QStringLiteral("insert into Mitglieder (Mitgliedsnummer, Nachname, Vorname, Ort, PLZ, "
                                    "Strasse, Hausnummer, Telefon, Eintritt, Austritt, Geburtsdatum, Rabatt, "
                                    "Sonstiges) values (?, ?, ?, ?, ?, ?, ?, ?, ?, 0, ?, ?, '')"));
    for (int i = 0; i < 12; ++i) {
        member.write({i + 1, QString::fromUtf8(members[i][0]), QString::fromUtf8(members[i][1]),
                      QString::fromUtf8(members[i][2]), QString::fromUtf8(members[i][3]),
                      QString::fromUtf8(members[i][4]), QString::number(3 + i * 7),
                      QStringLiteral("030 %1").arg(4410200 + i * 137), today - 400 - i * 61,
                      today - 365 * (22 + i * 3) - i * 17, double(i % 3 * 10)});
    }

    RowWriter name(db, QStringLiteral("insert into Namen (Name, Telefonnummer) values (?, ?)"));
    const char* const names[] = {"Adams", "Baker", "Carter", "Duval", "Evans", "Garcia"};
    for (int i = 0; i < 6; ++i)
        name.write({QString::fromUtf8(names[i]), QStringLiteral("0171 55%1").arg(1200 + i * 11)});

    // Hour h covers (h-1):00 to h:00. The booking "now" covers the current hour on court 1.
    const int nowHour = int(std::floor((now - std::floor(now)) * 24.0)) + 1;
    const Booking bookings[] = {
        {-3, 1, 10, 1, 4, "Brandt, Lukas", 1, 0},  {-3, 3, 18, 1, 6, "Adams", -17, 0},
        {-2, 2, 17, 3, 4, "Schulz, Marie", 2, 10}, {-2, 6, 19, 1, 4, "Baker", -17, 0},
        {-1, 1, 9, 1, 8, "Weber, Jonas", 3, 20},   {-1, 4, 20, 1, 4, "Carter", -17, 0},
        {-1, 7, 18, 2, 3, "Fischer, Lea", 4, 0},   {0, 1, nowHour, 1, 4, "Becker, Paul", 5, 10},
        {0, 3, 8, 1, 4, "Duval", -17, 0},          {0, 4, 9, 3, 6, "Hoffmann, Emma", 6, 0},
        {0, 6, 7, 1, 4, "Evans", -17, 0},          {0, 8, 19, 1, 4, "Koch, Felix", 7, 10},
        {1, 2, 18, 1, 4, "Richter, Mia", 8, 20},   {1, 5, 10, 1, 8, "Garcia", -17, 0},
        {2, 3, 17, 1, 4, "Klein, Noah", 9, 0},     {2, 6, 20, 1, 4, "Wolf, Hannah", 10, 10},
        {3, 1, 11, 1, 6, "Neumann, Elias", 11, 0}, {3, 8, 16, 1, 4, "Zimmermann, Sophie", 12, 0},
    };
    RowWriter reservation(db, reservationInsert);
    RowWriter bill(
        db, QStringLiteral("insert into Tischabrechnung (Tischnummer, Einschreibdatum, Betrag, "
                           "DrinksundSnacks, Abgerechnet, Abrechnungsfolge, Abrechnungsdatum, Startzeit, "
                           "Quaters, Reservierer) values (?, ?, ?, 0, ?, ?, ?, ?, ?, ?)"));
    int number = 0;
    for (const Booking& b : bookings) {
        ++number;
        const int day = today + b.dayOffset;
        const double start = day + (b.stunde - 1) / 24.0 + (b.viertel - 1) / 96.0;
        const double end = start + b.quarters / 96.0;
        // Past bookings are paid except the last one of yesterday; today's finished early ones
        // are paid, the others still open.
        const bool paid =
            end <= now && !(b.dayOffset == -1 && b.platz == 7) && !(b.dayOffset == 0 && b.platz == 6);
        for (int q = 0; q < b.quarters; ++q) {
            const int slot = (b.stunde - 1) * 4 + b.viertel - 1 + q;
            if (slot >= 96)
                break;
            reservation.write({number, day, slot / 4 + 1, slot % 4 + 1, b.platz, QString::fromUtf8(b.name),
                               b.member, b.percent, paid});
        }
        if (paid) {
            const double price = b.platz <= 5 ? 24.0 : 16.0;
            const double amount = std::nearbyint(price * b.quarters / 4.0 * (100 - b.percent)) / 100.0;
            const bool closed = b.dayOffset < 0;
            bill.write({b.platz, end + 5 / 1440.0, amount, closed,
                        closed ? QVariant(4 + b.dayOffset) : QVariant(),
                        closed ? QVariant(day + 23 / 24.0) : QVariant(), start, b.quarters,
                        QString::fromUtf8(b.name)});
        }
    }
    // One booking on two courts in one save: courts 2 and 5, tomorrow evening.
    ++number;
    for (int platz : {2, 5})
        for (int q = 1; q <= 4; ++q)
            reservation.write({number, today + 1, 20, q, platz, QStringLiteral("Team Evans"), -17, 0, false});

    // The demo drives relaysim on COM1, which the run command starts: light switching is on.
    Schema::exec(db, QStringLiteral("update Kennzahlen set Lichtschaltung = ?, ComPort = 0, Wartezeit = 10"),
                 {true});
    RowWriter output(db, QStringLiteral("update Schaltplan set Bezeichnung = ? where Anschluss = ?"));
    for (int n = 1; n <= 8; ++n)
        output.write({QStringLiteral("Court %1").arg(n), n});
    const char* const consumers[] = {"Hall north", "Hall south",     "Entrance",
                                     "Corridor",   "Changing rooms", "Car park"};
    for (int i = 0; i < 6; ++i)
        output.write({QString::fromUtf8(consumers[i]), 9 + i});

    // The demo's card terminal is scardsim, which the run command puts on the library path: member
    // cards in the reservation dialog and employee cards at log-in both work at once.
    Schema::exec(db,
                 QStringLiteral("update Kartenleser set Aktiv = ?, FuerMitglieder = ?, FuerAngestellte = ?"),
                 {true, true, true});
}

void insertDenseBookings(QSqlDatabase& db, int firstDay, int days, int courts)
{
    RowWriter reservation(db, reservationInsert);
    int number = 0;
    for (int d = 0; d < days; ++d)
        for (int platz = 1; platz <= courts; ++platz)
            for (int stunde = 1; stunde <= 24; ++stunde) {
                ++number;
                for (int q = 1; q <= 4; ++q)
                    reservation.write({number, firstDay + d, stunde, q, platz,
                                       QStringLiteral("Player %1").arg(number % 500), -17, 0,
                                       number % 2 == 1});
            }
}

} // namespace DemoData
