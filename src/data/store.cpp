#include "data/store.h"

#include "data/rowreader.h"
#include "platform/registry.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

namespace Store {
namespace {
int openings = 0;
}

int generation()
{
    return openings;
}

QString installDirectory()
{
    const QString directory = Registry::text(QStringLiteral("Installdirectory"));
    // A relative directory would be taken from wherever the program was started, which may be
    // another installation: only a full path names this one.
    if (directory.isEmpty() || QDir::isRelativePath(directory))
        return {};
    return QDir::cleanPath(directory);
}

QString tablesDirectory()
{
    const QString install = installDirectory();
    return install.isEmpty() ? QString() : QDir(install).filePath(QStringLiteral("Tables"));
}

QString databaseFile()
{
    const QString tables = tablesDirectory();
    return tables.isEmpty() ? QString() : QDir(tables).filePath(QStringLiteral("Tennistables.sqlite"));
}

QString noInstallationMessage()
{
    const QString registry = Registry::filePath();
    const QFileInfo file(registry);
    if (file.exists() && !file.isReadable())
        return QStringLiteral("The registry file %1 cannot be read, so the installation directory of "
                              "Courtoria and its database Tennistables are unknown.")
            .arg(registry);
    const QString value = Registry::text(QStringLiteral("Installdirectory"));
    if (!value.isEmpty())
        return QStringLiteral("The registry file %1 gives the installation directory \"%2\", which is not "
                              "a full path: the database Tennistables cannot be found.")
            .arg(registry, value);
    return QStringLiteral("The registry file %1 names no installation directory (Installdirectory): "
                          "the database Tennistables cannot be found.")
        .arg(registry);
}

QStringList tableNames()
{
    return {QStringLiteral("Tische"),          QStringLiteral("Tischfarben"),  QStringLiteral("Reservierung"),
            QStringLiteral("Tischabrechnung"), QStringLiteral("Kennzahlen"),   QStringLiteral("Preisprofil"),
            QStringLiteral("Mitglieder"),      QStringLiteral("Monatsrabatt"), QStringLiteral("Namen"),
            QStringLiteral("Rechte"),          QStringLiteral("Aktivitaet"),   QStringLiteral("Kartenleser"),
            QStringLiteral("Schaltplan"),      QStringLiteral("Länder"),       QStringLiteral("Inventar")};
}

QSqlDatabase database()
{
    const QString name = QString::fromLatin1(connectionName);
    if (QSqlDatabase::contains(name)) {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (db.isOpen())
            return db;
    }
    const QString file = databaseFile();
    if (file.isEmpty())
        throw StoreError(noInstallationMessage());
    // SQLite would create an empty file; a missing database is an installation fault instead.
    if (!QFileInfo::exists(file))
        throw StoreError(QStringLiteral("Database Tennistables not found: %1").arg(file));
    QSqlDatabase db = QSqlDatabase::contains(name)
                          ? QSqlDatabase::database(name, false)
                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(file);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
    if (!db.open())
        throw StoreError(db.lastError().text());
    ++openings;
    return db;
}

void close()
{
    const QString name = QString::fromLatin1(connectionName);
    if (!QSqlDatabase::contains(name))
        return;
    RowReader::releaseAll();
    ++openings;
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

sqlite3* sqliteHandle()
{
    const QVariant handle = database().driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw StoreError(QStringLiteral("The table store is not SQLite"));
    return *static_cast<sqlite3* const*>(handle.data());
}

void copyTo(const QString& file)
{
    sqlite3* source = sqliteHandle();
    sqlite3* target = nullptr;
    if (sqlite3_open_v2(file.toUtf8().constData(), &target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(target));
        sqlite3_close(target);
        throw StoreError(message);
    }
    sqlite3_backup* backup = sqlite3_backup_init(target, "main", source, "main");
    int rc = backup ? sqlite3_backup_step(backup, -1) : sqlite3_errcode(target);
    if (backup)
        sqlite3_backup_finish(backup);
    const QString message = QString::fromUtf8(sqlite3_errmsg(target));
    rc = rc == SQLITE_DONE ? sqlite3_errcode(target) : rc;
    sqlite3_close(target);
    if (rc != SQLITE_OK)
        throw StoreError(message);
}

QString quoted(const QString& name)
{
    QString inner = name;
    inner.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

Transaction::Transaction()
{
    // Immediate: the write lock is taken here, where the busy timeout lets another writer finish.
    // A deferred transaction that reads first would meet that writer when it writes, and SQLite
    // refuses such an upgrade at once instead of waiting.
    QSqlQuery begin(database());
    if (!begin.exec(QStringLiteral("begin immediate")))
        throw StoreError(begin.lastError().text());
    open_ = true;
}

Transaction::~Transaction()
{
    if (open_)
        database().rollback();
}

void Transaction::commit()
{
    QSqlDatabase db = database();
    if (!db.commit())
        throw StoreError(db.lastError().text());
    open_ = false;
}

} // namespace Store
