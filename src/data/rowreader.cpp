#include "data/rowreader.h"

#include "data/fieldvalue.h"
#include "data/query.h"
#include "data/store.h"

#include <QSqlError>
#include <QSqlResult>

#include <libpq-fe.h>
#include <sqlite3.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <set>

namespace {

std::set<RowReader*>& readers()
{
    static std::set<RowReader*> all;
    return all;
}

// Drops what from_chars does not take before a number; the server prints none of it, a text
// column may hold it.
std::string_view numberStart(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    if (text.size() > 1 && text.front() == '+')
        text.remove_prefix(1);
    return text;
}

// 't' and 'f' are the server's logicals; SQLite stores them as 1 and 0 already.
bool logical(std::string_view text, int& value)
{
    if (text.size() != 1 || (text.front() != 't' && text.front() != 'f'))
        return false;
    value = text.front() == 't' ? 1 : 0;
    return true;
}

} // namespace

RowReader::RowReader(const QString& sql)
    : sql_(toPositional(sql))
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
    server_ = QSqlQuery();
    result_ = nullptr;
    onServer_ = false;
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
    params_.insert(name.toLower(), parameterValue(value));
}

void RowReader::open()
{
    close();
    if (Store::engine() != Engine::SQLite) {
        openOnServer();
        return;
    }
    if (preparedOn_ != Store::generation() || onServer_) {
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

void RowReader::openOnServer()
{
    if (preparedOn_ != Store::generation() || !onServer_) {
        release();
        server_ = QSqlQuery(Store::database());
        // Not forward only: the driver then takes the whole result into one PGresult, which is
        // read in place below, and no other statement beside the walk can cut it short.
        server_.setForwardOnly(false);
        if (!server_.prepare(sql_.text))
            throw Store::error(server_.lastError(), sql_.text);
        onServer_ = true;
        preparedOn_ = Store::generation();
    }
    bindPositional(server_, sql_, params_);
    if (!server_.exec())
        throw Store::error(server_.lastError(), sql_.text);
    const QVariant handle = server_.result()->handle();
    // Qt names the type by libpq's struct, as the metatype system spells it.
    if (qstrcmp(handle.typeName(), "pg_result*") == 0 || qstrcmp(handle.typeName(), "PGresult*") == 0) {
        result_ = *static_cast<PGresult* const*>(handle.data());
        rows_ = result_ ? PQntuples(result_) : 0;
        fields_ = result_ ? PQnfields(result_) : 0;
        row_ = 0;
        eof_ = row_ >= rows_;
    } else {
        // Another driver build: its own values, slower but the same.
        result_ = nullptr;
        eof_ = !server_.next();
    }
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
    if (!onServer_)
        step();
    else if (result_)
        eof_ = ++row_ >= rows_;
    else
        eof_ = !server_.next();
}

void RowReader::close()
{
    if (stmt_)
        sqlite3_reset(stmt_);
    if (onServer_)
        server_.finish();
    result_ = nullptr;
    eof_ = true;
}

std::string_view RowReader::serverText(int column) const
{
    // libpq gives an empty text for an empty field.
    if (eof_ || column < 0 || column >= fields_)
        return {};
    return std::string_view(PQgetvalue(result_, row_, column), size_t(PQgetlength(result_, row_, column)));
}

long long RowReader::serverLargeInt(int column) const
{
    const std::string_view text = serverText(column);
    // Most values of a walk are short whole numbers: read them digit by digit.
    size_t i = !text.empty() && text.front() == '-' ? 1 : 0;
    if (text.size() > i && text.size() - i <= 18) {
        long long value = 0;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
            value = value * 10 + (text[i] - '0');
        if (i == text.size())
            return text.front() == '-' ? -value : value;
    }
    return parseLargeInt(text);
}

long long RowReader::parseLargeInt(std::string_view text)
{
    text = numberStart(text);
    int flag = 0;
    if (logical(text, flag))
        return flag;
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    const bool whole = ec == std::errc() &&
                       (end == text.data() + text.size() || (*end != '.' && *end != 'e' && *end != 'E'));
    if (whole)
        return value;
    // A fraction, an exponent or a number past the range: cut towards zero, as SQLite does.
    const double d = parseNumber(text);
    constexpr double top = 9223372036854775807.0;
    if (std::isnan(d))
        return 0;
    if (d >= top)
        return std::numeric_limits<long long>::max();
    if (d <= -top)
        return std::numeric_limits<long long>::min();
    return static_cast<long long>(d);
}

double RowReader::parseNumber(std::string_view text)
{
    text = numberStart(text);
    int flag = 0;
    if (logical(text, flag))
        return flag;
    double value = 0;
    const std::from_chars_result read = std::from_chars(text.data(), text.data() + text.size(), value);
    return read.ec == std::errc() ? value : 0.0;
}

int RowReader::integer(int column) const
{
    if (!onServer_)
        return sqlite3_column_int(stmt_, column);
    if (result_)
        return int(serverLargeInt(column));
    return FieldValue(server_.value(column)).asInteger();
}

long long RowReader::largeInt(int column) const
{
    if (!onServer_)
        return sqlite3_column_int64(stmt_, column);
    if (result_)
        return serverLargeInt(column);
    return FieldValue(server_.value(column)).asLargeInt();
}

double RowReader::number(int column) const
{
    if (!onServer_)
        return sqlite3_column_double(stmt_, column);
    if (result_)
        return parseNumber(serverText(column));
    return FieldValue(server_.value(column)).asFloat();
}
