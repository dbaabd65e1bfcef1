#pragma once

#include "data/sqldialect.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace Schema {

// What a field holds; each engine words it in a type of its own (SqlDialect).
enum class Holds { SmallInteger, Integer, IntegerKey, FloatingPoint, DayCount, Logical, Number, Memo, Text };

struct Field {
    QString name;
    Holds holds;
    int length = 0;        // characters of a text
    bool required = false; // not null; a required text also refuses the empty text
    bool key = false;      // the primary key
    // A rule of the field's own: its name is what the engine reports when it refuses a value, the
    // condition names the field as %1.
    const char* checkName = nullptr;
    const char* check = nullptr;

    Field notNull() const;
    Field primaryKey() const;
    Field checked(const char* name, const char* condition) const;
};

struct Index {
    const char* name;
    std::vector<const char*> fields;
    bool unique = false;
};

struct Table {
    const char* name;
    std::vector<Field> fields;
    std::vector<Index> indexes = {};
};

// The fifteen tables of Tennistables with their fields, keys, checks and indexes, in the order
// they are created; written once for both engines.
const std::vector<Table>& tables();
QStringList tableNames();
// A table or field name as every statement writes it: quoted where it is no plain word
// ("Summe Laufzeit", "Länder"), so that both engines find it by the same text.
QString identifier(const QString& name);
// The create statements of every table and its indexes, worded for the engine.
QStringList statements(Engine engine);
// Creates every table and index; throws StoreError.
void create(QSqlDatabase& db, Engine engine);

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
