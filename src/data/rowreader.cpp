#include "data/rowreader.h"

#include "data/fieldvalue.h"
#include "data/query.h"
#include "data/store.h"

#include <QSqlDriver>

#include <sqlite3.h>

#include <set>

namespace {

std::set<RowReader*>& readers()
{
    static std::set<RowReader*> all;
    return all;
}

} // namespace

RowReader::RowReader(const QString& sql)
    : text_(sql)
    , sql_(toPositional(sql))
{
    readers().insert(this);
}

RowReader::~RowReader()
{
    release();
    readers().erase(this);
}

void RowReader::release()
{
    if (stmt_)
        sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    server_.reset();
    preparedOn_ = -1;
    eof_ = true;
}

void RowReader::releaseAll()
{
    for (RowReader* reader : readers())
        reader->release();
}

void RowReader::setParam(const QString& name, const QVariant& value)
{
    params_.insert(name.toLower(), value);
}

void RowReader::open()
{
    close();
    if (Store::engine() != Engine::SQLite) {
        if (!server_)
            server_ = std::make_unique<Query>(text_);
        for (auto it = params_.cbegin(); it != params_.cend(); ++it)
            server_->setParam(it.key(), it.value());
        server_->open();
        eof_ = server_->eof();
        return;
    }
    if (preparedOn_ != Store::generation()) {
        release();
        sqlite3* db = Store::sqliteHandle();
        const QByteArray text = sql_.text.toUtf8();
        if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &stmt_, nullptr) != SQLITE_OK)
            throw StoreError(QString::fromUtf8(sqlite3_errmsg(db)));
        preparedOn_ = Store::generation();
    }
    for (int i = 0; i < sql_.positions.size(); ++i) {
        const auto it = params_.constFind(sql_.positions[i]);
        if (it == params_.constEnd())
            throw StoreError(QStringLiteral("Parameter %1 has no value").arg(sql_.positions[i]));
        const QVariant v = storable(*it);
        int rc;
        if (v.isNull())
            rc = sqlite3_bind_null(stmt_, i + 1);
        else if (v.typeId() == QMetaType::QString) {
            const QByteArray utf8 = v.toString().toUtf8();
            rc = sqlite3_bind_text(stmt_, i + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        } else if (v.typeId() == QMetaType::Double)
            rc = sqlite3_bind_double(stmt_, i + 1, v.toDouble());
        else
            rc = sqlite3_bind_int64(stmt_, i + 1, v.toLongLong());
        if (rc != SQLITE_OK)
            throw StoreError(QString::fromUtf8(sqlite3_errstr(rc)));
    }
    eof_ = false;
    step();
}

void RowReader::step()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return;
    eof_ = true;
    if (rc != SQLITE_DONE)
        throw StoreError(QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(stmt_))));
}

void RowReader::next()
{
    if (eof_)
        return;
    if (server_) {
        server_->next();
        eof_ = server_->eof();
        return;
    }
    step();
}

void RowReader::close()
{
    if (stmt_)
        sqlite3_reset(stmt_);
    if (server_)
        server_->close();
    eof_ = true;
}

int RowReader::integer(int column) const
{
    return server_ ? server_->field(column).asInteger() : sqlite3_column_int(stmt_, column);
}
long long RowReader::largeInt(int column) const
{
    return server_ ? server_->field(column).asLargeInt() : sqlite3_column_int64(stmt_, column);
}
double RowReader::number(int column) const
{
    return server_ ? server_->field(column).asFloat() : sqlite3_column_double(stmt_, column);
}
