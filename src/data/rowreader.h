#pragma once

#include "data/sqltext.h"

#include <QHash>
#include <QString>
#include <QVariant>

#include <memory>

struct sqlite3_stmt;
class Query;

// A select read forward straight from SQLite on the Tennistables connection, for the statements
// asked thousands of times (the occupancy of a week, the court plan's minute). Columns are read by
// position as numbers, an empty field giving 0. Values are bound by name, never spliced into the
// text. On a server the same statement runs through Qt SQL, with the same results.
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

private:
    void step();
    void release();

    QString text_;
    PositionalSql sql_;
    QHash<QString, QVariant> params_; // as given; SQLite takes them as stored values
    std::unique_ptr<Query> server_;
    sqlite3_stmt* stmt_ = nullptr;
    int preparedOn_ = -1;
    bool eof_ = true;
};
