#include "data/query.h"

#include "data/changes.h"
#include "data/store.h"

#include <QSqlError>
#include <QSqlRecord>

#include <optional>

void bindPositional(QSqlQuery& query, const PositionalSql& sql, const QHash<QString, QVariant>& params)
{
    for (int i = 0; i < sql.positions.size(); ++i) {
        const QString& name = sql.positions[i];
        const auto it = params.constFind(name);
        if (it == params.constEnd())
            throw StoreError(QStringLiteral("Parameter %1 has no value").arg(name));
        query.bindValue(i, *it);
    }
}

QVariant parameterValue(const QVariant& value)
{
    return value.typeId() == QMetaType::Bool ? value : storable(value);
}

Query::Query(const QString& sql)
{
    setSql(sql);
}

void Query::setSql(const QString& sql)
{
    close();
    sql_ = sql;
    channel_ = Changes::channelOfStatement(sql);
    positional_ = toPositional(sql);
    preparedOn_ = -1;
}

void Query::setParam(const QString& name, const QVariant& value)
{
    params_.insert(name.toLower(), parameterValue(value));
}

void Query::run()
{
    if (preparedOn_ != Store::generation()) {
        query_ = QSqlQuery(Store::database());
        query_.setForwardOnly(Store::dialect().forwardOnly);
        if (!query_.prepare(positional_.text))
            throw Store::error(query_.lastError(), sql_);
        preparedOn_ = Store::generation();
    }
    bindPositional(query_, positional_, params_);
    if (!query_.exec())
        throw Store::error(query_.lastError(), sql_);
    record_ = query_.record();
}

void Query::open()
{
    close();
    run();
    open_ = true;
    eof_ = !query_.next();
}

int Query::exec()
{
    close();
    const bool tells = !channel_.isEmpty() && *Store::dialect().notify != '\0';
    std::optional<Store::Transaction> own;
    if (tells && !Store::inTransaction())
        own.emplace();
    run();
    const int affected = query_.numRowsAffected();
    query_.finish();
    if (tells && affected > 0)
        Store::notify(channel_);
    if (own)
        own->commit();
    return affected;
}

void Query::close()
{
    if (preparedOn_ >= 0)
        query_.finish();
    open_ = false;
    eof_ = true;
}

void Query::next()
{
    if (!eof_)
        eof_ = !query_.next();
}

int Query::fieldCount() const
{
    return record_.count();
}

QString Query::fieldName(int position) const
{
    return record_.fieldName(position);
}

FieldValue Query::field(const QString& name) const
{
    const int position = record_.indexOf(name);
    if (position < 0)
        throw StoreError(QStringLiteral("Field '%1' not found").arg(name));
    return field(position);
}

FieldValue Query::field(int position) const
{
    if (eof_)
        return FieldValue();
    return FieldValue(query_.value(position));
}
