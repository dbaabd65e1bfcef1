#pragma once

#include "data/sqldialect.h"
#include "data/store.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QString>

// A statement the server cannot prepare (a function, a trigger), run as it stands.
inline void execUnprepared(const QString& sql)
{
    QSqlQuery query(Store::database());
    if (!query.exec(sql))
        qFatal("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
}

// A trigger on table that refuses the statement with message, before each row of event ("insert",
// "delete") where the condition on the row holds (every row when it is empty), on either engine.
inline void addRefusingTrigger(const QString& name, const QString& table, const QString& event,
                               const QString& condition, const QString& message)
{
    if (Store::engine() == Engine::SQLite) {
        execUnprepared(
            QStringLiteral("create trigger %1 before %2 on %3 %4 begin select raise(abort, "
                           "'%5'); end")
                .arg(name, event, table, condition.isEmpty() ? QString() : "when " + condition, message));
        return;
    }
    execUnprepared(QStringLiteral("create function %1() returns trigger language plpgsql as $$ begin raise "
                                  "exception '%2'; end $$")
                       .arg(name, message));
    execUnprepared(
        QStringLiteral("create trigger %1 before %2 on %3 for each row %4 execute function %1()")
            .arg(name, event, table, condition.isEmpty() ? QString() : "when (" + condition + ")"));
}

inline void dropRefusingTrigger(const QString& name, const QString& table)
{
    if (Store::engine() == Engine::SQLite) {
        execUnprepared("drop trigger " + name);
        return;
    }
    execUnprepared(QStringLiteral("drop trigger %1 on %2").arg(name, table));
    execUnprepared(QStringLiteral("drop function %1()").arg(name));
}
