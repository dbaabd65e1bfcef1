// What every benchmark shares: interleaved timing of our call against the bare one it rests on,
// the median per call, and a bare SQLite statement stepped as a caller would.
#pragma once

#include "data/daycount.h"
#include "data/query.h"
#include "data/store.h"
#include "install/demodata.h"
#include "install/installer.h"

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <vector>

namespace Bench {

// Median of the per-call times in microseconds, calls interleaved with the other side.
struct Pair {
    std::vector<double> ours;
    std::vector<double> bare;
};

inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

inline double timed(const std::function<void()>& f)
{
    QElapsedTimer t;
    t.start();
    f();
    return t.nsecsElapsed() / 1000.0;
}

inline Pair measure(int rounds, const std::function<void()>& ours, const std::function<void()>& bare)
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

inline void report(const char* name, const Pair& p, const char* bareName = "bare SQLite")
{
    const double ours = median(p.ours);
    const double bare = median(p.bare);
    std::printf("%-34s %10.1f us   %s %10.1f us   ratio %5.2f\n", name, ours, bareName, bare, ours / bare);
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

// The window benchmarks draw offscreen unless a display is named.
inline void offscreenUnlessNamed()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// The first day of the dense year every benchmark books.
inline int denseYearStart()
{
    return DayCount::fromDate(QDate(2026, 1, 1));
}

// An installation in dir with twelve courts and the dense year of bookings from firstDay:
// 12 courts x 96 quarters x 365 days. The store points at it afterwards.
inline bool installDenseYear(const QTemporaryDir& dir, int firstDay)
{
    qputenv("COURTORIA_REGISTRY", (dir.path() + "/registry.ini").toLocal8Bit());
    qputenv("COURTORIA_USER_SETTINGS", (dir.path() + "/windows.ini").toLocal8Bit());
    Installer::Options options;
    options.directory = dir.path() + "/hall";
    const QString failure = Installer::install(options);
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(failure));
        return false;
    }
    QSqlDatabase db = Store::database();
    db.transaction();
    DemoData::insertDenseBookings(db, firstDay, 365);
    db.commit();
    Query("insert into Tische (Tischnummer, TypNr) select Stundenindex, 1 from Preisprofil "
          "where Stundenindex <= 12")
        .exec();
    Query("analyze").exec();
    Query count("select count(*) from Reservierung");
    count.open();
    std::printf("dense year: %d rows in Reservierung\n", count.field(0).asInteger());
    return true;
}

} // namespace Bench
