#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace Schema {

// The fifteen tables of Tennistables in the order they are created.
QStringList tableNames();
// A create statement with the checks of its text columns added.
QString withRules(const QString& sql);
// Creates every table and index; throws StoreError.
void create(QSqlDatabase& db);
// A statement prepared once and run with positional values; throws StoreError.
class Statement {
public:
    Statement(QSqlDatabase& db, const QString& sql);
    void write(const QVariantList& values = {});

private:
    QSqlQuery query_;
    QString sql_;
};

// Runs one statement with positional values; throws StoreError.
void exec(QSqlDatabase& db, const QString& sql, const QVariantList& values = {});

} // namespace Schema
