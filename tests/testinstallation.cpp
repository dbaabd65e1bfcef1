#include "testinstallation.h"

#include "data/store.h"
#include "install/installer.h"
#include "testserver.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

namespace {

// The engine of the installations a test makes without naming one: SQLite, or the test server
// when the test command runs the test a second time with COURTORIA_TEST_ENGINE=postgresql.
Engine defaultEngine()
{
    return qEnvironmentVariable("COURTORIA_TEST_ENGINE")
                       .compare(QLatin1String("postgresql"), Qt::CaseInsensitive) == 0
               ? Engine::PostgreSQL
               : Engine::SQLite;
}

} // namespace

TestInstallation::TestInstallation(bool demo, int today, double now)
    : TestInstallation(defaultEngine(), demo, today, now)
{
}

TestInstallation::TestInstallation(Engine engine, bool demo, int today, double now)
    : engine_(engine)
{
    Store::close();
    qputenv("COURTORIA_REGISTRY", (dir_.path() + QStringLiteral("/registry.ini")).toLocal8Bit());
    qputenv("COURTORIA_USER_SETTINGS", (dir_.path() + QStringLiteral("/windows.ini")).toLocal8Bit());
    Installer::Options options;
    options.directory = dir_.path() + QStringLiteral("/hall");
    options.demo = demo;
    options.today = today;
    options.now = now;
    if (engine == Engine::PostgreSQL) {
        if (!TestDatabase::serverAvailable()) {
            failure_ = QStringLiteral("No test server: COURTORIA_TEST_SERVER is not set.");
            return;
        }
        database_ = std::make_unique<TestDatabase>();
        if (!database_->isValid()) {
            failure_ = database_->failure();
            return;
        }
        // The installer writes the registry's Datenbank, which points the store at the server.
        options.server = database_->connectionString();
    }
    failure_ = Installer::install(options);
}

TestInstallation::~TestInstallation()
{
    // Before the database is dropped, so that no connection of the store outlives it.
    Store::close();
}

QString TestInstallation::databaseFile() const
{
    return dir_.path() + QStringLiteral("/hall/Tables/Tennistables.sqlite");
}

QString TestInstallation::connectionString() const
{
    return database_ ? database_->connectionString() : QString();
}

namespace {

QSqlQuery run(const QString& sql, const QVariantList& values)
{
    QSqlQuery query(Store::database());
    if (!query.prepare(sql))
        qFatal("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values[i]);
    if (!query.exec())
        qFatal("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
    return query;
}

} // namespace

void TestInstallation::exec(const QString& sql, const QVariantList& values)
{
    run(sql, values);
}

QVariant TestInstallation::scalar(const QString& sql, const QVariantList& values)
{
    QSqlQuery query = run(sql, values);
    return query.next() ? query.value(0) : QVariant();
}

QStringList TestInstallation::column(const QString& sql, const QVariantList& values)
{
    QSqlQuery query = run(sql, values);
    QStringList texts;
    while (query.next())
        texts << query.value(0).toString();
    return texts;
}
