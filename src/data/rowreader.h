#pragma once

#include "data/sqltext.h"

#include <QHash>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <string_view>

struct sqlite3_stmt;
struct pg_result;

// A select read forward by position as numbers, for the statements asked thousands of times (the
// occupancy of a week, the court plan's minute). SQLite's statement is stepped straight from the
// file; on the server the driver's whole result is read as the server printed it, without a
// QVariant per value. Either way an empty field gives 0 and a logical 1 or 0. Values are bound by
// name, never spliced into the text.
class RowReader {
public:
    explicit RowReader(const QString& sql);
    ~RowReader();
    RowReader(const RowReader&) = delete;
    RowReader& operator=(const RowReader&) = delete;

    void setParam(const QString& name, const QVariant& value);
    // Runs the statement and moves to its first row; throws StoreError.
    void open();
    bool eof() const { return eof_; }
    void next();
    void close();

    // Finalises every prepared statement, so that the connection can close.
    static void releaseAll();

    int integer(int column) const;
    long long largeInt(int column) const;
    double number(int column) const;

    // A value as the server prints it in text, read as SQLite reads a column: the leading number
    // of the text (a fraction cut off for a whole number), 't' / 'f' of a logical as 1 / 0, and 0
    // where no number stands.
    static long long parseLargeInt(std::string_view text);
    static double parseNumber(std::string_view text);

private:
    void step();
    void release();
    void openOnServer();
    std::string_view serverText(int column) const;
    long long serverLargeInt(int column) const;

    PositionalSql sql_;
    QHash<QString, QVariant> params_; // as Qt SQL binds them; SQLite takes them as stored values
    sqlite3_stmt* stmt_ = nullptr;
    QSqlQuery server_;
    const pg_result* result_ = nullptr; // the driver's, while the server's select is open
    int row_ = 0;
    int rows_ = 0;
    int fields_ = 0;
    int preparedOn_ = -1;
    bool onServer_ = false;
    bool eof_ = true;
};
