#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <stdexcept>

struct sqlite3;

// An error of the table store, carrying the store's own message.
class StoreError : public std::runtime_error {
public:
    explicit StoreError(const QString& message)
        : std::runtime_error(message.toStdString())
        , message_(message)
    {
    }
    const QString& message() const { return message_; }

private:
    QString message_;
};

// The database Tennistables: <Installdirectory>/Tables/Tennistables.sqlite, opened on first use
// under the connection name "Tennistables" and kept until the program ends.
namespace Store {

inline constexpr const char* connectionName = "Tennistables";

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
// Throws StoreError when the installation or its database is missing.
QSqlDatabase database();
// Releases the connection; the next use opens it again (a restore, or tests changing installation).
void close();
// The SQLite handle behind the connection, for the few fast paths that step statements themselves.
sqlite3* sqliteHandle();
// Counts the openings of the connection: statements prepared on an earlier one prepare again.
int generation();
// A consistent copy of the whole database into file (SQLite's backup API), made while the
// program keeps the database open: what a backup archives instead of the live file.
void copyTo(const QString& file);
// Double quotes a table or field name ("Summe Laufzeit", "Länder").
QString quoted(const QString& name);

// All or nothing: rolled back unless commit() was called. The write lock is taken at the start,
// waiting out the busy timeout while another program writes; "database is locked" only after it.
class Transaction {
public:
    Transaction();
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    bool open_ = false;
};

} // namespace Store
