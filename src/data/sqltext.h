#pragma once

#include <QString>
#include <QStringList>

// A statement with named parameters (":pdatum") rewritten for positional binding. A name that
// occurs twice takes the one value set for it in both places. Names compare without case.
struct PositionalSql {
    QString text;          // the statement with every parameter replaced by "?"
    QStringList positions; // the (lower-case) parameter name of each "?", in order
};

PositionalSql toPositional(const QString& sql);
