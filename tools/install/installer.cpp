#include "install/installer.h"

#include "data/daycount.h"
#include "data/sqldialect.h"
#include "data/store.h"
#include "install/demodata.h"
#include "install/installeddata.h"
#include "install/schema.h"
#include "platform/registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>

namespace Installer {

namespace {

const QString connection = QStringLiteral("courtoria-install");

// The tables with their rows, on a connection whose transaction is open; throws StoreError.
void fill(QSqlDatabase& db, Engine engine, const Options& options)
{
    Schema::create(db, engine);
    InstalledData::insert(db);
    if (options.demo) {
        const int today = options.today ? options.today : DayCount::today();
        const double now = options.now ? options.now : DayCount::now();
        DemoData::insert(db, today, now);
    }
}

// Refuses a database on which any of the tables stands already, under whatever case of its name:
// the hall's rows are never mixed with new ones.
void requireEmpty(QSqlDatabase& db)
{
    QStringList marks;
    QVariantList tables;
    for (const QString& table : Schema::tableNames()) {
        marks << QStringLiteral("?");
        tables << table.toLower();
    }
    QSqlQuery query(db);
    if (!query.prepare(
            QStringLiteral("select current_database(), c.relname from pg_class c join pg_namespace n "
                           "on n.oid = c.relnamespace where n.nspname = any (current_schemas(false)) "
                           "and c.relkind in ('r', 'p', 'v', 'm', 'f') and lower(c.relname) in (%1) "
                           "order by c.relname")
                .arg(marks.join(QLatin1Char(',')))))
        throw StoreError(query.lastError().text());
    for (int i = 0; i < tables.size(); ++i)
        query.bindValue(i, tables[i]);
    if (!query.exec())
        throw StoreError(query.lastError().text());
    QString database;
    QStringList found;
    while (query.next()) {
        database = query.value(0).toString();
        found << query.value(1).toString();
    }
    if (!found.isEmpty())
        throw StoreError(
            QStringLiteral("The database %1 already holds the tables of Courtoria (%2); an existing "
                           "database is never overwritten.")
                .arg(database, found.join(QStringLiteral(", "))));
}

QString installOnServer(const Options& options, const QString& root)
{
    // The registry is given the string as it stands, and the registry holds no password.
    if (Store::namesKeyword(options.server, QStringLiteral("password")))
        return QStringLiteral("The connection string holds a password; the registry never does. Put it into "
                              "libpq's password file (PGPASSFILE) or service file (PGSERVICEFILE) instead.");
    const QDir dir(root);
    const bool existed = dir.exists();
    const bool hadBackup = dir.exists(QStringLiteral("Backup"));
    QString failure;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QLatin1String(dialect(Engine::PostgreSQL).driver), connection);
        // A server that does not answer ends the run instead of keeping it waiting.
        db.setConnectOptions(Store::withConnectTimeout(options.server));
        if (!db.open()) {
            const QSqlError error = db.lastError();
            failure = QStringLiteral("Cannot connect to the database server: %1")
                          .arg(error.databaseText().trimmed().isEmpty() ? error.text()
                                                                        : error.databaseText().trimmed());
        } else {
            try {
                if (!db.transaction())
                    throw StoreError(db.lastError().text());
                requireEmpty(db);
                fill(db, Engine::PostgreSQL, options);
                // Before the commit: a hall whose folder cannot be made gets no tables either.
                if (!dir.mkpath(QStringLiteral("Backup")))
                    throw StoreError(QStringLiteral("Cannot create the directories under %1.").arg(root));
                if (!db.commit())
                    throw StoreError(db.lastError().text());
            } catch (const StoreError& e) {
                db.rollback();
                failure = e.message();
                if (!hadBackup)
                    dir.rmdir(QStringLiteral("Backup"));
                if (!existed)
                    QDir().rmdir(root);
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    if (!failure.isEmpty())
        return failure;
    if (!Registry::setValue(QStringLiteral("Installdirectory"), root) ||
        !Registry::setValue(QStringLiteral("Datenbank"), QStringLiteral("postgresql:") + options.server))
        return QStringLiteral("Cannot write the registry file %1.").arg(Registry::filePath());
    return {};
}

QString installFile(const Options& options, const QString& root)
{
    const QDir dir(root);
    const QString file = dir.filePath(QStringLiteral("Tables/Tennistables.sqlite"));
    if (QFileInfo::exists(file))
        return QStringLiteral("%1 already exists; an existing database is never overwritten.").arg(file);
    if (!dir.mkpath(QStringLiteral("Tables")) || !dir.mkpath(QStringLiteral("Backup")))
        return QStringLiteral("Cannot create the directories under %1.").arg(root);

    // Built under a temporary name and renamed at the end: a failed run leaves no half database.
    const QString building = file + QStringLiteral(".new");
    QFile::remove(building);
    QString failure;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QLatin1String(dialect(Engine::SQLite).driver), connection);
        db.setDatabaseName(building);
        if (!db.open()) {
            failure = db.lastError().text();
        } else {
            try {
                db.transaction();
                fill(db, Engine::SQLite, options);
                if (!db.commit())
                    failure = db.lastError().text();
            } catch (const StoreError& e) {
                db.rollback();
                failure = e.message();
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    if (failure.isEmpty() && !QFile::rename(building, file))
        failure = QStringLiteral("Cannot create %1.").arg(file);
    if (!failure.isEmpty()) {
        QFile::remove(building);
        return failure;
    }
    if (!Registry::setValue(QStringLiteral("Installdirectory"), root))
        return QStringLiteral("Cannot write the registry file %1.").arg(Registry::filePath());
    return {};
}

} // namespace

QString install(const Options& options)
{
    if (options.directory.isEmpty())
        return QStringLiteral("No installation directory given.");
    const QString root = QFileInfo(options.directory).absoluteFilePath();
    return options.server.isEmpty() ? installFile(options, root) : installOnServer(options, root);
}

} // namespace Installer
