// Reservation store over a dense year (12 courts x 96 quarters x 365 days), each figure against
// the bare statement it rests on on the same engine, measured in the same run: SQLite, and the
// server named by COURTORIA_BENCH_SERVER.

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
    return onEachEngine([](const DenseInstallation& installation, int firstDay) {
        const auto occupancy = installation.statement(occupancyWalkSql);
        const auto maxNumber =
            installation.statement("select max(Reservierungsnummer) maxnummer from Reservierung");
        const auto start =
            installation.statement("select Datum,Stunde,Viertelstunde from Reservierung where "
                                   "Reservierungsnummer = $1 order by Datum,Stunde,Viertelstunde");
        const char* bare = installation.bareName();

        const int week = firstDay + 200;
        volatile long long sink = 0;
        report("fBelegung, 7 days (8064 rows)",
               measure(
                   200,
                   [&] {
                       sink = sink + int(fBelegung(week, week + 6).at(week, Slot{10, 1, 1}));
                   },
                   [&] {
                       sink = sink + occupancy->run({double(week), double(week + 6)}, 6);
                   }),
               bare);
        report("fBelegung, 1 day (1152 rows)",
               measure(
                   400,
                   [&] {
                       sink = sink + int(fBelegung(week, week).at(week, Slot{10, 1, 1}));
                   },
                   [&] {
                       sink = sink + occupancy->run({double(week), double(week)}, 6);
                   }),
               bare);
        report("fNeueReservierungsnummer",
               measure(
                   2000, [&] { sink = sink + fNeueReservierungsnummer(); },
                   [&] { sink = sink + maxNumber->run({}, 1); }),
               bare);
        int number = 1;
        report("fStartzeit",
               measure(
                   2000,
                   [&] {
                       sink = sink + (long long)fStartzeit(number);
                       number = number % 100000 + 7919;
                   },
                   [&] { sink = sink + start->run({double(number)}, 3); }),
               bare);
    });
}
