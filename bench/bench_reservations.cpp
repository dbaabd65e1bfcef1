// Reservation store over a dense year (12 courts x 96 quarters x 365 days), each figure against
// the bare SQLite statement it rests on, measured in the same run.

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

namespace {

// Median of the per-call times in microseconds, calls interleaved with the other side.
struct Pair {
    std::vector<double> ours;
    std::vector<double> bare;
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double timed(const std::function<void()>& f)
{
    QElapsedTimer t;
    t.start();
    f();
    return t.nsecsElapsed() / 1000.0;
}

Pair measure(int rounds, const std::function<void()>& ours, const std::function<void()>& bare)
{
    Pair p;
    for (int i = 0; i < 3; ++i) { // warm the caches and the prepared statements
        ours();
        bare();
    }
    for (int i = 0; i < rounds; ++i) {
        p.ours.push_back(timed(ours));
        p.bare.push_back(timed(bare));
    }
    return p;
}

void report(const char* name, const Pair& p)
{
    const double ours = median(p.ours);
    const double bare = median(p.bare);
    std::printf("%-34s %10.1f us   bare SQLite %10.1f us   ratio %5.2f\n", name, ours, bare, ours / bare);
}

// Steps a statement to its end reading the given number of columns, as a caller would.
struct BareStatement {
    sqlite3_stmt* stmt = nullptr;
    BareStatement(sqlite3* db, const char* sql)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK)
            std::fprintf(stderr, "prepare: %s\n", sqlite3_errmsg(db));
    }
    ~BareStatement() { sqlite3_finalize(stmt); }
    long long run(std::initializer_list<double> params, int columns)
    {
        sqlite3_reset(stmt);
        int i = 1;
        for (double p : params)
            sqlite3_bind_double(stmt, i++, p);
        long long sum = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW)
            for (int c = 0; c < columns; ++c)
                sum += sqlite3_column_int64(stmt, c);
        return sum;
    }
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    qputenv("COURTORIA_REGISTRY", (dir.path() + "/registry.ini").toLocal8Bit());
    const int firstDay = DayCount::fromDate(QDate(2026, 1, 1));
    Installer::Options options;
    options.directory = dir.path() + "/hall";
    const QString failure = Installer::install(options);
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(failure));
        return 1;
    }
    {
        QSqlDatabase db = Store::database();
        db.transaction();
        DemoData::insertDenseBookings(db, firstDay, 365);
        db.commit();
        Query("insert into Tische (Tischnummer, TypNr) select Stundenindex, 1 from Preisprofil "
              "where Stundenindex <= 12")
            .exec();
        Query("analyze").exec();
    }
    std::printf("dense year: %d rows in Reservierung\n", [] {
        Query q("select count(*) from Reservierung");
        q.open();
        return q.field(0).asInteger();
    }());

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
