#pragma once

#include "data/sqldialect.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <stdexcept>

struct sqlite3;

class QSqlError;

// An error of the table store, carrying the store's own message.
class StoreError : public std::runtime_error {
public:
    // Connection: the store could not be reached or was lost; anything else is a Statement's.
    enum class Failure { Statement, Connection };

    explicit StoreError(const QString& message, Failure failure = Failure::Statement)
        : std::runtime_error(message.toStdString())
        , message_(message)
        , failure_(failure)
    {
    }
    const QString& message() const { return message_; }
    Failure failure() const { return failure_; }

private:
    QString message_;
    Failure failure_;
};

// The database Tennistables, opened on first use under the connection name "Tennistables" and kept
// until the program ends: the SQLite file <Installdirectory>/Tables/Tennistables.sqlite, or a
// PostgreSQL server shared by several desks when the registry's Datenbank names one.
namespace Store {

inline constexpr const char* connectionName = "Tennistables";

// Where the registry's Datenbank puts the tables: empty or absent, the SQLite file; "postgresql:"
// and a libpq connection string, that server, whose connectOptions then hold the string with
// connect_timeout=5 added unless it names one. Any other value, or a password in the string
// (libpq's password or service file holds it), throws StoreError naming the registry file.
struct Location {
    Engine engine = Engine::SQLite;
    QString connectOptions;
};
Location location();
// Whether a libpq connection string names a keyword ("password", "connect_timeout").
bool namesKeyword(const QString& conninfo, const QString& keyword);
// The string as a server is reached with: connect_timeout=5 added unless it names a timeout.
QString withConnectTimeout(const QString& conninfo);
// The engine of the open store, else the one the registry names; and how that engine words SQL.
Engine engine();
// Whether several desks share the tables (they stand on a server): what one desk alone holds,
// such as the relay line of the court lights, is then held by the desk whose registry names it.
bool sharedByDesks();
const SqlDialect& dialect();

// The registry's Installdirectory as a full path; empty when the registry names none, cannot be
// read, or gives a relative path. The two below are empty then as well: the store never looks for
// tables relative to the folder the program was started from.
QString installDirectory();
QString tablesDirectory();
QString databaseFile();
// Why there is no installation directory, naming the registry file.
QString noInstallationMessage();
// The fifteen tables of Tennistables in the order they are created.
QStringList tableNames();
// Throws StoreError when the installation or its database is missing, or the server does not
// answer (Failure::Connection, with the server's own words). A server connection found dead (a
// statement failed on it) is opened again here, so the action after a lost one works.
QSqlDatabase database();
// Releases the connection; the next use opens it again (a restore, or tests changing installation).
void close();
// The SQLite handle behind the connection, for the few fast paths that step statements themselves.
sqlite3* sqliteHandle();
// Counts the openings of the connection: statements prepared on an earlier one prepare again. A
// dead server connection counts as closed here already.
int generation();
// What the desk reads of a failed statement, worded alike on both engines: a broken key names the
// table and its fields ("Key violation: ..."), a refused check its name ("CHECK constraint failed:
// ..."), a lost server says so; the server's own words stand for everything else. The statement
// gives the names as the desk spells them where the server reports them folded to lower case.
QString message(const QSqlError& error, const QString& statement = {});
// The StoreError of a failed statement: its message, and Failure::Connection where the server was
// lost.
StoreError error(const QSqlError& error, const QString& statement = {});
// A consistent copy of the whole database into file (SQLite's backup API), made while the
// program keeps the database open: what a backup archives instead of the live file.
void copyTo(const QString& file);
// A table or field name as every statement writes it, on either engine: a name of letters, digits
// and underscores stands bare, so that the server folds it to lower case as it did when the tables
// were created; any other ("Summe Laufzeit", "Länder") is double quoted and kept as written.
QString quoted(const QString& name);
// The name as the engine's catalogue keeps it: folded to lower case on the server where it stands
// bare in statements.
QString catalogName(const QString& name);

// All or nothing: rolled back unless commit() was called. On SQLite the write lock is taken at the
// start, waiting out the busy timeout while another program writes; "database is locked" only
// after it. A server that is lost midway has dropped the whole transaction itself.
class Transaction {
public:
    Transaction();
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    bool open_ = false;
    int generation_ = 0;
};

// Inside a Transaction: makes the desks draw the "highest + 1" numbers of one kind ("reservation",
// "account", ...) one after the other, until the transaction ends. On the server another desk's
// call for the same kind waits here; SQLite's write lock serialises every writer already. Throws
// StoreError outside a transaction, where such a lock would end at once.
void lockNumbers(const QString& kind);
// The server's lock key of a kind: the same on every desk and every build.
qint64 numberLockKey(const QString& kind);

// Whether a Transaction is open on the store's connection.
bool inTransaction();
// Tells the other desks on a channel of Changes that what it holds changed; inside a Transaction
// they hear it when that commits, and a channel and payload go out once per transaction however
// many rows changed. Nothing on SQLite.
void notify(const QString& channel, const QString& payload = {});

} // namespace Store
