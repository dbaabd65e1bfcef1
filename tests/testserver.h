#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QUuid>

// The throwaway PostgreSQL server that the test command starts for the tests that take the engine
// as data (CTest fixture "pgserver"): COURTORIA_TEST_SERVER holds its libpq connection string
// without a database name. Each TestDatabase is a new empty database on it, dropped again at the
// end, so that tests never see each other's rows.
class TestDatabase {
public:
    // Whether this test run has a server; without one the engine's cases are skipped.
    static bool serverAvailable() { return !server().isEmpty(); }
    static QString server() { return qEnvironmentVariable("COURTORIA_TEST_SERVER"); }

    TestDatabase()
        : name_(QStringLiteral("t_") + QUuid::createUuid().toString(QUuid::Id128).left(16))
    {
        if (serverAvailable())
            created_ = run(QStringLiteral("create database %1").arg(name_));
    }
    ~TestDatabase()
    {
        if (created_)
            run(QStringLiteral("drop database if exists %1 with (force)").arg(name_));
    }
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    bool isValid() const { return created_; }
    const QString& failure() const { return failure_; }
    const QString& name() const { return name_; }
    // The libpq connection string of this database, as the registry's Datenbank takes it after
    // "postgresql:".
    QString connectionString() const { return server() + QStringLiteral(" dbname=") + name_; }

private:
    // Runs one statement on the server's maintenance database, on a connection of its own.
    bool run(const QString& sql)
    {
        const QString connection = QStringLiteral("testserver_") + name_;
        bool done = false;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection);
            db.setConnectOptions(server() + QStringLiteral(" dbname=postgres connect_timeout=5"));
            if (!db.open()) {
                failure_ = db.lastError().text();
            } else {
                QSqlQuery query(db);
                done = query.exec(sql);
                if (!done)
                    failure_ = query.lastError().text();
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(connection);
        return done;
    }

    QString name_;
    QString failure_;
    bool created_ = false;
};
