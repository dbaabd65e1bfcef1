#pragma once

#include "data/sqldialect.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantList>

#include <memory>

class TestDatabase;

// A fresh installation in a temporary directory, with its own registry and settings files; the
// table store points at it while the object lives. On PostgreSQL its tables stand on a database of
// their own on the test server (TestDatabase), dropped again with the installation.
class TestInstallation {
public:
    explicit TestInstallation(bool demo = false, int today = 0, double now = 0);
    explicit TestInstallation(Engine engine, bool demo = false, int today = 0, double now = 0);
    ~TestInstallation();
    TestInstallation(const TestInstallation&) = delete;
    TestInstallation& operator=(const TestInstallation&) = delete;

    bool isValid() const { return failure_.isEmpty(); }
    const QString& failure() const { return failure_; }
    Engine engine() const { return engine_; }
    QString path() const { return dir_.path(); }
    QString databaseFile() const;
    // The libpq connection string of the server's database; empty on SQLite.
    QString connectionString() const;

    // Runs a statement on Tennistables; fails the test on an error.
    static void exec(const QString& sql, const QVariantList& values = {});
    // The first column of the first row of a select.
    static QVariant scalar(const QString& sql, const QVariantList& values = {});
    // The first column of every row of a select, as texts.
    static QStringList column(const QString& sql, const QVariantList& values = {});

private:
    QTemporaryDir dir_;
    Engine engine_;
    std::unique_ptr<TestDatabase> database_;
    QString failure_;
};
