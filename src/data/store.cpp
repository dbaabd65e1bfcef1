#include "data/store.h"

#include "data/rowreader.h"
#include "platform/registry.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace Store {
namespace {
int openings = 0;
}

int generation()
{
    return openings;
}

QString tablesDirectory()
{
    return QDir(Registry::text(QStringLiteral("Installdirectory"))).filePath(QStringLiteral("Tables"));
}

QString databaseFile()
{
    return QDir(tablesDirectory()).filePath(QStringLiteral("Tennistables.sqlite"));
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

QString quoted(const QString& name)
{
    QString inner = name;
    inner.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

Transaction::Transaction()
{
    QSqlDatabase db = database();
    if (!db.transaction())
        throw StoreError(db.lastError().text());
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
