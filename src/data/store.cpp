#include "data/store.h"

#include "data/changes.h"
#include "data/rowreader.h"
#include "data/storemessage.h"
#include "platform/registry.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

namespace Store {
namespace {

int openings = 0;
// Whether the server connection was opened and is still registered, so that its loss can be told
// from a connection never made.
bool serverOpened = false;
// A statement on it was answered with the server's end of the connection.
bool serverLost = false;
// The connection was closed because the server was lost: the next one missed what other desks told.
bool closedAfterLoss = false;
// Transactions open on the store's connection.
int transactions = 0;
// The changes told inside the open transaction, as channel and payload.
QSet<QString> told;

const QString serverPrefix = QStringLiteral("postgresql:");

QString storeConnection()
{
    return QString::fromLatin1(connectionName);
}

// A dead server connection: opened once, and libpq has found it broken since.
bool lostServer()
{
    if (!serverOpened || !QSqlDatabase::contains(storeConnection()))
        return false;
    return serverLost || !QSqlDatabase::database(storeConnection(), false).isOpen();
}

} // namespace

void noticeLostServer()
{
    serverLost = serverOpened;
}

int generation()
{
    if (lostServer())
        close();
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

namespace {

QSqlDatabase openSqlite()
{
    const QString name = storeConnection();
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
    return db;
}

// afterLoss: the connection replaces one the server lost.
QSqlDatabase openServer(const QString& connectOptions, bool afterLoss)
{
    const QString name = storeConnection();
    const QString driver = QString::fromLatin1(dialect(Engine::PostgreSQL).driver);
    if (!QSqlDatabase::isDriverAvailable(driver))
        throw StoreError(QStringLiteral("The registry file %1 names a PostgreSQL server for the database "
                                        "Tennistables, but Qt's PostgreSQL driver (%2) is not installed.")
                             .arg(Registry::filePath(), driver),
                         StoreError::Failure::Connection);
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(driver, name);
        db.setConnectOptions(connectOptions);
        if (db.open()) {
            serverOpened = true;
            learnKeyTables();
            ChangeListener::instance().listenOn(db, afterLoss);
            return db;
        }
        failure = serverWords(db.lastError());
    }
    QSqlDatabase::removeDatabase(name);
    throw StoreError(QStringLiteral("The database server of Tennistables (%1) does not answer: %2")
                         .arg(connectOptions, failure),
                     StoreError::Failure::Connection);
}

} // namespace

Location location()
{
    const QString value = Registry::text(QStringLiteral("Datenbank")).trimmed();
    Location where;
    if (value.isEmpty())
        return where;
    if (!value.startsWith(serverPrefix, Qt::CaseInsensitive))
        throw StoreError(QStringLiteral("The registry file %1 gives Datenbank the value \"%2\", which names "
                                        "no database: leave it empty for the tables of this desk, or write "
                                        "\"postgresql:\" and the connection string of a server.")
                             .arg(Registry::filePath(), value));
    const QString conninfo = value.mid(serverPrefix.size()).trimmed();
    // The registry is readable by everybody at the desk; libpq keeps passwords in files of its own.
    if (namesKeyword(conninfo, QStringLiteral("password")))
        throw StoreError(QStringLiteral("The registry file %1 gives Datenbank a password. Passwords belong "
                                        "into libpq's password file (PGPASSFILE) or service file "
                                        "(PGSERVICEFILE), never into the registry.")
                             .arg(Registry::filePath()));
    where.engine = Engine::PostgreSQL;
    where.connectOptions = withConnectTimeout(conninfo);
    return where;
}

bool namesKeyword(const QString& conninfo, const QString& keyword)
{
    const QRegularExpression pattern(
        QStringLiteral("(^|\\s)%1\\s*=").arg(QRegularExpression::escape(keyword)));
    return pattern.match(conninfo).hasMatch();
}

QString withConnectTimeout(const QString& conninfo)
{
    // A server that does not answer must not freeze the desk for the operating system's minutes.
    if (namesKeyword(conninfo, QStringLiteral("connect_timeout")))
        return conninfo;
    return conninfo.isEmpty() ? QStringLiteral("connect_timeout=5")
                              : conninfo + QStringLiteral(" connect_timeout=5");
}

Engine engine()
{
    if (QSqlDatabase::contains(storeConnection())) {
        const QSqlDatabase db = QSqlDatabase::database(storeConnection(), false);
        if (db.isOpen())
            return db.driverName() == QLatin1String(dialect(Engine::PostgreSQL).driver) ? Engine::PostgreSQL
                                                                                        : Engine::SQLite;
    }
    return location().engine;
}

const SqlDialect& dialect()
{
    return dialect(engine());
}

QSqlDatabase database()
{
    const QString name = storeConnection();
    if (QSqlDatabase::contains(name)) {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (db.isOpen())
            return db;
    }
    // A lost server connection goes whole: a new driver, so that the statements prepared on the old
    // one are freed there and never on the new one.
    if (lostServer())
        close();
    const Location where = location();
    QSqlDatabase db =
        where.engine == Engine::PostgreSQL ? openServer(where.connectOptions, closedAfterLoss) : openSqlite();
    closedAfterLoss = false;
    ++openings;
    return db;
}

void close()
{
    const QString name = storeConnection();
    if (!QSqlDatabase::contains(name))
        return;
    RowReader::releaseAll();
    ++openings;
    closedAfterLoss = lostServer();
    serverOpened = false;
    serverLost = false;
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

namespace {

bool bareName(const QString& name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return plain.match(name).hasMatch();
}

} // namespace

QString quoted(const QString& name)
{
    if (bareName(name))
        return name;
    QString inner = name;
    inner.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

QString catalogName(const QString& name)
{
    return engine() == Engine::PostgreSQL && bareName(name) ? name.toLower() : name;
}

Transaction::Transaction()
{
    // SQLite: immediate, the write lock is taken here, where the busy timeout lets another writer
    // finish. A deferred transaction that reads first would meet that writer when it writes, and
    // SQLite refuses such an upgrade at once instead of waiting.
    // The server only warns of a second begin, and the inner commit would then store the outer
    // transaction's half: refused on both, as SQLite refuses it.
    if (transactions > 0)
        throw StoreError(QStringLiteral("cannot start a transaction within a transaction"));
    QSqlQuery begin(database());
    if (!begin.exec(QString::fromLatin1(dialect().beginWrite)))
        throw error(begin.lastError());
    open_ = true;
    told.clear();
    generation_ = openings;
    ++transactions;
}

Transaction::~Transaction()
{
    if (!open_)
        return;
    --transactions;
    told.clear();
    // A connection lost or opened since holds nothing of this transaction to roll back.
    if (generation() == generation_)
        QSqlDatabase::database(storeConnection(), false).rollback();
}

void Transaction::commit()
{
    QSqlDatabase db = QSqlDatabase::database(storeConnection(), false);
    if (generation() != generation_)
        throw StoreError(QStringLiteral("The connection to the database server was lost before the "
                                        "changes were stored; none of them was kept."),
                         StoreError::Failure::Connection);
    if (!db.commit())
        throw error(db.lastError());
    open_ = false;
    --transactions;
    told.clear();
}

qint64 numberLockKey(const QString& kind)
{
    // FNV-1a over the kind's name: the same on every desk, build and run, unlike qHash.
    quint64 hash = 14695981039346656037ULL;
    for (const char c : QByteArray("courtoria.numbers.") + kind.toLower().toUtf8()) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return static_cast<qint64>(hash);
}

void lockNumbers(const QString& kind)
{
    if (transactions == 0)
        throw StoreError(
            QStringLiteral("The numbers of %1 are drawn inside a writing transaction only.").arg(kind));
    const char* statement = dialect().lockNumbers;
    if (*statement == '\0')
        return;
    QSqlQuery lock(database());
    if (!lock.prepare(QString::fromLatin1(statement)))
        throw error(lock.lastError());
    lock.addBindValue(numberLockKey(kind));
    if (!lock.exec())
        throw error(lock.lastError());
}

bool sharedByDesks()
{
    return engine() == Engine::PostgreSQL;
}

bool inTransaction()
{
    return transactions > 0;
}

void notify(const QString& channel, const QString& payload)
{
    const char* statement = dialect().notify;
    if (*statement == '\0')
        return;
    const QString key = channel + QLatin1Char('\n') + payload;
    if (transactions > 0 && told.contains(key))
        return;
    QSqlQuery tell(database());
    if (!tell.prepare(QString::fromLatin1(statement)))
        throw error(tell.lastError());
    tell.addBindValue(channel);
    tell.addBindValue(payload);
    if (!tell.exec())
        throw error(tell.lastError());
    if (transactions > 0)
        told.insert(key);
}

} // namespace Store
