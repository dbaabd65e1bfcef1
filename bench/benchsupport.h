// What every benchmark shares: interleaved timing of our call against the bare one it rests on,
// the median per call, and a bare statement run as a caller would: SQLite's stepped from the file,
// the server's through libpq.
#pragma once

#include "data/daycount.h"
#include "data/query.h"
#include "data/store.h"
#include "install/demodata.h"
#include "install/installer.h"

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>

#include <libpq-fe.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
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

// Runs a statement to its end reading the given number of columns, as a caller would: SQLite's
// stepped from the file, the server's prepared once and executed with its values as text. The text
// numbers its parameters $1, $2, ..., which both engines read.
struct BareStatement {
    sqlite3_stmt* stmt = nullptr;
    PGconn* server = nullptr;
    std::string name; // of the server's prepared statement

    BareStatement(sqlite3* db, const char* sql)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK)
            std::fprintf(stderr, "prepare: %s\n", sqlite3_errmsg(db));
    }
    BareStatement(PGconn* connection, const char* sql)
        : server(connection)
        , name("bare" + std::to_string(++serverStatements()))
    {
        PGresult* prepared = PQprepare(server, name.c_str(), sql, 0, nullptr);
        if (PQresultStatus(prepared) != PGRES_COMMAND_OK)
            std::fprintf(stderr, "prepare: %s\n", PQerrorMessage(server));
        PQclear(prepared);
    }
    ~BareStatement() { sqlite3_finalize(stmt); }
    BareStatement(const BareStatement&) = delete;
    BareStatement& operator=(const BareStatement&) = delete;

    long long run(std::initializer_list<double> params, int columns)
    {
        return server ? runOnServer(params, columns) : runOnSqlite(params, columns);
    }

    long long runOnSqlite(std::initializer_list<double> params, int columns)
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

    long long runOnServer(std::initializer_list<double> params, int columns)
    {
        // At most a few values: texts on the stack, as a caller would keep them.
        constexpr int most = 4;
        char texts[most][32];
        const char* values[most] = {};
        int n = 0;
        for (double p : params) {
            if (n == most)
                break;
            std::snprintf(texts[n], sizeof texts[n], "%.17g", p);
            values[n] = texts[n];
            ++n;
        }
        PGresult* result = PQexecPrepared(server, name.c_str(), n, values, nullptr, nullptr, 0);
        if (PQresultStatus(result) != PGRES_TUPLES_OK)
            std::fprintf(stderr, "execute: %s\n", PQerrorMessage(server));
        long long sum = 0;
        const int rows = PQntuples(result);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c) {
                // A logical comes as t or f, any number as its digits.
                const char* v = PQgetvalue(result, r, c);
                sum += v[0] == 't' ? 1 : std::strtoll(v, nullptr, 10);
            }
        PQclear(result);
        return sum;
    }

    static int& serverStatements()
    {
        static int count = 0;
        return count;
    }
};

// The server the benchmarks run on beside SQLite: COURTORIA_BENCH_SERVER, a libpq connection
// string without a database name ("host=/tmp/benchpg user=courtoria"). Unset, SQLite only.
inline QString benchServer()
{
    return qEnvironmentVariable("COURTORIA_BENCH_SERVER");
}

// A database of its own on the bench server, made empty for one run and dropped with the object,
// so that runs never meet each other's rows and the installer finds no tables.
class ServerDatabase {
public:
    ServerDatabase()
        : name_(QStringLiteral("bench_") + QUuid::createUuid().toString(QUuid::Id128).left(16))
    {
        created_ = maintain(QStringLiteral("create database %1").arg(name_));
    }
    ~ServerDatabase()
    {
        if (bare_)
            PQfinish(bare_);
        if (created_)
            maintain(QStringLiteral("drop database if exists %1 with (force)").arg(name_));
    }
    ServerDatabase(const ServerDatabase&) = delete;
    ServerDatabase& operator=(const ServerDatabase&) = delete;

    bool isValid() const { return created_; }
    QString connectionString() const { return benchServer() + QStringLiteral(" dbname=") + name_; }
    // A bare libpq connection of its own to the database, beside the store's.
    PGconn* bare()
    {
        if (!bare_) {
            bare_ = PQconnectdb(connectionString().toUtf8().constData());
            if (PQstatus(bare_) != CONNECTION_OK)
                std::fprintf(stderr, "connect: %s\n", PQerrorMessage(bare_));
        }
        return bare_;
    }

private:
    bool maintain(const QString& sql)
    {
        PGconn* conn = PQconnectdb((benchServer() + QStringLiteral(" dbname=postgres")).toUtf8().constData());
        bool done = PQstatus(conn) == CONNECTION_OK;
        if (done) {
            PGresult* result = PQexec(conn, sql.toUtf8().constData());
            done = PQresultStatus(result) == PGRES_COMMAND_OK;
            PQclear(result);
        }
        if (!done)
            std::fprintf(stderr, "%s: %s\n", qPrintable(sql), PQerrorMessage(conn));
        PQfinish(conn);
        return done;
    }

    QString name_;
    PGconn* bare_ = nullptr;
    bool created_ = false;
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
// 12 courts x 96 quarters x 365 days; its tables on the server's database when one is named. The
// store points at it afterwards.
inline bool installDenseYear(const QTemporaryDir& dir, int firstDay, const QString& server = {})
{
    Store::close();
    qputenv("COURTORIA_REGISTRY", (dir.path() + "/registry.ini").toLocal8Bit());
    qputenv("COURTORIA_USER_SETTINGS", (dir.path() + "/windows.ini").toLocal8Bit());
    Installer::Options options;
    options.directory = dir.path() + "/hall";
    options.server = server;
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
    // Not prepared: the server prepares no analyze.
    QSqlQuery(db).exec(QStringLiteral("analyze"));
    Query count("select count(*) from Reservierung");
    count.open();
    std::printf("dense year: %d rows in Reservierung\n", count.field(0).asInteger());
    return true;
}

// The occupancy walk's statement, as our walk runs it: the bare side of every walk measured.
inline const char* const occupancyWalkSql =
    "select Datum,Platz,Stunde,Viertelstunde,Reservierungsnummer,Bezahlt from Reservierung "
    "where Datum between $1 and $2 order by Datum,Platz,Stunde,Viertelstunde,Reservierungsnummer";

// The dense year on one engine, with a bare connection of its own to the same tables for the
// statements our calls are measured against.
class DenseInstallation {
public:
    DenseInstallation(Engine engine, int firstDay)
    {
        if (engine == Engine::PostgreSQL) {
            server_ = std::make_unique<ServerDatabase>();
            valid_ = server_->isValid() && installDenseYear(dir_, firstDay, server_->connectionString()) &&
                     PQstatus(server_->bare()) == CONNECTION_OK;
        } else {
            valid_ = installDenseYear(dir_, firstDay) &&
                     sqlite3_open_v2(Store::databaseFile().toUtf8().constData(), &sqlite_,
                                     SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK;
        }
    }
    ~DenseInstallation()
    {
        sqlite3_close(sqlite_);
        // Before the server's database is dropped, which no connection of the store may outlive.
        Store::close();
    }
    DenseInstallation(const DenseInstallation&) = delete;
    DenseInstallation& operator=(const DenseInstallation&) = delete;

    bool isValid() const { return valid_; }
    bool onServer() const { return server_ != nullptr; }
    const char* bareName() const { return server_ ? "bare libpq" : "bare SQLite"; }
    // The server database's libpq string; empty on SQLite.
    QString connectionString() const { return server_ ? server_->connectionString() : QString(); }
    std::unique_ptr<BareStatement> statement(const char* sql) const
    {
        return server_ ? std::make_unique<BareStatement>(server_->bare(), sql)
                       : std::make_unique<BareStatement>(sqlite_, sql);
    }

private:
    QTemporaryDir dir_;
    std::unique_ptr<ServerDatabase> server_;
    sqlite3* sqlite_ = nullptr;
    bool valid_ = false;
};

// Runs the benchmark on SQLite, then on the bench server when one is named, each engine on a dense
// year of its own. Returns the exit status: 1 when an installation failed.
inline int onEachEngine(const std::function<void(const DenseInstallation&, int firstDay)>& bench)
{
    std::vector<Engine> engines{Engine::SQLite};
    if (!benchServer().isEmpty())
        engines.push_back(Engine::PostgreSQL);
    for (Engine engine : engines) {
        std::printf("%s\n", engine == Engine::SQLite
                                ? "SQLite"
                                : qPrintable(QStringLiteral("PostgreSQL (%1)").arg(benchServer())));
        const int firstDay = denseYearStart();
        const DenseInstallation installation(engine, firstDay);
        if (!installation.isValid())
            return 1;
        bench(installation, firstDay);
    }
    return 0;
}

} // namespace Bench
