#pragma once

#include "data/fieldvalue.h"
#include "data/sqltext.h"

#include <QHash>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

// Binds the values of the named parameters to the positions of a rewritten statement; throws
// StoreError for a parameter without a value. Keys are lower-case names.
void bindPositional(QSqlQuery& query, const PositionalSql& sql, const QHash<QString, QVariant>& params);

// A parameter's value as it is bound: dates as day counts; a logical stays one, which SQLite
// binds as its 0 or 1 and the server compares with its boolean fields, where it takes no number.
QVariant parameterValue(const QVariant& value);

// A statement on Tennistables with named parameters: a select read forward from its first row,
// or a delete/update executed once. Every value is bound, never spliced into the text. The
// statement is prepared once and re-run with new values, as the windows re-open their queries.
class Query {
public:
    Query() = default;
    explicit Query(const QString& sql);

    // Replaces the statement; closes the query.
    void setSql(const QString& sql);
    const QString& sql() const { return sql_; }

    // Dates and date-times are bound as day counts.
    void setParam(const QString& name, const QVariant& value);

    void open();
    // Runs a statement without a result and returns the number of rows it changed. A change to a
    // table other desks show goes out to them in the same transaction.
    int exec();
    void close();
    bool isOpen() const { return open_; }

    bool eof() const { return eof_; }
    void next();
    bool isEmpty() const { return eof_; }

    int fieldCount() const;
    QString fieldName(int position) const;
    FieldValue field(const QString& name) const;
    FieldValue field(int position) const;

private:
    void run();

    QString sql_;
    QString channel_; // of Changes, where the statement writes to a table other desks show
    PositionalSql positional_;
    QHash<QString, QVariant> params_;
    QSqlQuery query_;
    QSqlRecord record_;
    int preparedOn_ = -1; // Store::generation() of the prepared statement
    bool open_ = false;
    bool eof_ = true;
};
