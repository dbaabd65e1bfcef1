// Reservation store over a dense year (12 courts x 96 quarters x 365 days), each figure against
// the bare SQLite statement it rests on, measured in the same run.

#include "benchsupport.h"
#include "data/calculations.h"
#include "data/daycount.h"
#include "data/query.h"
#include "data/store.h"
#include "install/demodata.h"
#include "install/installer.h"
#include "reservations/occupancy.h"
#include "reservations/reservationstore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace Bench;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const int firstDay = denseYearStart();
    if (!installDenseYear(dir, firstDay))
        return 1;

    sqlite3* bare = nullptr;
    sqlite3_open_v2(Store::databaseFile().toUtf8().constData(), &bare, SQLITE_OPEN_READONLY, nullptr);
    BareStatement occupancy(
        bare, "select Datum,Platz,Stunde,Viertelstunde,Reservierungsnummer,Bezahlt from Reservierung "
              "where Datum between ?1 and ?2 order by Datum,Platz,Stunde,Viertelstunde,"
              "Reservierungsnummer");
    BareStatement maxNumber(bare, "select max(Reservierungsnummer) maxnummer from Reservierung");
    BareStatement start(bare,
                        "select Datum,Stunde,Viertelstunde from Reservierung where Reservierungsnummer = ?1 "
                        "order by Datum,Stunde,Viertelstunde");

    const int week = firstDay + 200;
    volatile long long sink = 0;
    report("fBelegung, 7 days (8064 rows)",
           measure(
               200,
               [&] {
                   sink = sink + int(fBelegung(week, week + 6).at(week, Slot{10, 1, 1}));
               },
               [&] {
                   sink = sink + occupancy.run({double(week), double(week + 6)}, 6);
               }));
    report("fBelegung, 1 day (1152 rows)",
           measure(
               400,
               [&] {
                   sink = sink + int(fBelegung(week, week).at(week, Slot{10, 1, 1}));
               },
               [&] {
                   sink = sink + occupancy.run({double(week), double(week)}, 6);
               }));
    report("fNeueReservierungsnummer", measure(
                                           2000, [&] { sink = sink + fNeueReservierungsnummer(); },
                                           [&] { sink = sink + maxNumber.run({}, 1); }));
    int number = 1;
    report("fStartzeit", measure(
                             2000,
                             [&] {
                                 sink = sink + (long long)fStartzeit(number);
                                 number = number % 100000 + 7919;
                             },
                             [&] { sink = sink + start.run({double(number)}, 3); }));
    sqlite3_close(bare);
    Store::close();
    return 0;
}
