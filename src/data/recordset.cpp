#include "data/recordset.h"

#include "data/changes.h"
#include "data/query.h"
#include "data/store.h"

#include <QRegularExpression>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <cmath>
#include <optional>

namespace {

const QString rowidColumn = QStringLiteral("__rowid");

QSqlQuery prepared(const QString& sql)
{
    QSqlQuery query(Store::database());
    query.setForwardOnly(Store::dialect().forwardOnly);
    if (!query.prepare(sql))
        throw Store::error(query.lastError(), query.lastQuery());
    return query;
}

void run(QSqlQuery& query)
{
    if (!query.exec())
        throw Store::error(query.lastError(), query.lastQuery());
}

// The columns of a named secondary index, or none when no index has that name.
QStringList indexColumns(const QString& index)
{
    QSqlQuery query = prepared(QString::fromLatin1(Store::dialect().indexFields));
    query.bindValue(0, Store::catalogName(index));
    run(query);
    QStringList columns;
    while (query.next())
        columns << query.value(0).toString();
    return columns;
}

// A select over one table whose rows stand one for one for stored rows can be written back;
// distinct, grouped, aggregated or joined results cannot.
bool writesBack(const QString& afterSelect)
{
    static const QRegularExpression derived(
        QStringLiteral("^\\s*distinct\\b|\\bgroup\\s+by\\b|\\bunion\\b|\\bjoin\\b|"
                       "\\b(count|sum|max|min|avg|total|group_concat)\\s*\\(|"
                       "\\bfrom\\s+(\"[^\"]+\"|'[^']+'|[^\\s,;()]+)(\\s+\\w+)?\\s*,"),
        QRegularExpression::CaseInsensitiveOption);
    return !derived.match(afterSelect).hasMatch();
}

// What a field's declared type makes of it, by SQLite's rules of type affinity; the server's type
// names ("character varying", "double precision", "smallint") read the same by them.
RecordSet::NumberKind numberKind(const QString& declared)
{
    const QString type = declared.toUpper();
    if (type.contains(QLatin1String("BOOL")))
        return RecordSet::NumberKind::Logical;
    if (type.contains(QLatin1String("INT")))
        return RecordSet::NumberKind::Whole;
    if (type.contains(QLatin1String("CHAR")) || type.contains(QLatin1String("CLOB")) ||
        type.contains(QLatin1String("TEXT")) || type.contains(QLatin1String("BLOB")) || type.isEmpty())
        return RecordSet::NumberKind::None;
    return RecordSet::NumberKind::Decimal;
}

// A text as a message quotes it: a pasted page is cut to its first characters.
QString quotedText(const QString& text)
{
    constexpr int shown = 20;
    if (characterCount(text) <= shown)
        return QLatin1Char('\'') + text + QLatin1Char('\'');
    qsizetype end = 0;
    for (int n = 0; n < shown; ++n)
        end += text[end].isHighSurrogate() && end + 1 < text.size() ? 2 : 1;
    return QLatin1Char('\'') + text.left(end) + QStringLiteral("...'");
}

// A NUL ends a text for SQLite's length and for every reader in C, and half of a surrogate pair
// is no character at all: neither is stored.
bool storableText(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isNull())
            return false;
        if (c.isHighSurrogate() && (i + 1 == text.size() || !text[i + 1].isLowSurrogate()))
            return false;
        if (c.isLowSurrogate() && (i == 0 || !text[i - 1].isHighSurrogate()))
            return false;
    }
    return true;
}

// A value for a number field: a number stays, a text that reads as a number becomes it, and
// anything else is refused, naming the field, so that no text lands where a number is read.
QVariant numberFor(const QString& field, RecordSet::NumberKind kind, const QVariant& value)
{
    const bool isText = value.typeId() == QMetaType::QString;
    const QString text = isText ? value.toString().trimmed() : QString();
    if (isText && text.isEmpty())
        return {};
    if (kind == RecordSet::NumberKind::Logical && isText) {
        if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return 1;
        if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return 0;
    }
    bool ok = !isText;
    double number = 0;
    if (isText) {
        bool whole = false;
        const qlonglong integer = text.toLongLong(&whole);
        if (whole)
            return integer;
        number = text.toDouble(&ok);
    } else {
        number = value.toDouble(&ok);
    }
    ok = ok && std::isfinite(number);
    if (kind == RecordSet::NumberKind::Whole) {
        if (!ok || number != std::floor(number))
            throw StoreError(QStringLiteral("Field '%1' holds whole numbers only; %2 is not one.")
                                 .arg(field, isText ? quotedText(value.toString()) : value.toString()));
        return isText ? QVariant(qlonglong(number)) : value;
    }
    if (!ok)
        throw StoreError(QStringLiteral("Field '%1' holds numbers only; %2 is not a number.")
                             .arg(field, isText ? quotedText(value.toString()) : value.toString()));
    return isText ? QVariant(number) : value;
}

// Stored and edited values are the same when both are empty or both hold the same value.
bool sameValue(const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    return a == b;
}

} // namespace

RecordSet::RecordSet(QObject* parent)
    : QObject(parent)
{
}

void RecordSet::openTable(const QString& table, const QString& index)
{
    close();
    table_ = table;
    orderFields_.clear();
    if (!index.isEmpty()) {
        if (!index.contains(QLatin1Char(';')) && !index.contains(QLatin1Char(',')))
            orderFields_ = indexColumns(index);
        if (orderFields_.isEmpty()) {
            for (const QString& f :
                 index.split(QRegularExpression(QStringLiteral("[;,]")), Qt::SkipEmptyParts))
                orderFields_ << f.trimmed();
        }
    }
    live_ = true;
    QString sql =
        QStringLiteral("select %1 as %2, * from %3")
            .arg(QString::fromLatin1(Store::dialect().rowIdentity), rowidColumn, Store::quoted(table));
    if (!orderFields_.isEmpty()) {
        QStringList quotedFields;
        for (const QString& f : orderFields_)
            quotedFields << Store::quoted(f);
        sql += QStringLiteral(" order by ") + quotedFields.join(QLatin1Char(','));
    } else if (*Store::dialect().rowIdentityColumn != '\0') {
        // The stored order is the order rows were written in. SQLite reads a table in that order;
        // the server moves every row it updates to wherever the new version lands.
        sql += QStringLiteral(" order by ") + QString::fromLatin1(Store::dialect().rowIdentity);
    }
    sql_ = sql;
    params_.clear();
    load(sql_, params_);
}

void RecordSet::openQuery(const QString& sql, const QHash<QString, QVariant>& params)
{
    close();
    static const QRegularExpression selectRe(QStringLiteral("^\\s*select\\s+"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression fromRe(
        QStringLiteral("\\bfrom\\s+(\"([^\"]+)\"|'([^']+)'|([^\\s,;()]+))"),
        QRegularExpression::CaseInsensitiveOption);
    const auto select = selectRe.match(sql);
    const auto from = fromRe.match(sql);
    if (!select.hasMatch() || !from.hasMatch())
        throw StoreError(QStringLiteral("Not a select over one table: %1").arg(sql));
    table_ = from.captured(2) + from.captured(3) + from.captured(4);
    orderFields_.clear();
    const QString afterSelect = sql.mid(select.capturedEnd());
    live_ = writesBack(afterSelect);
    sql_ = live_ ? QStringLiteral("select %1 as %2, ")
                           .arg(QString::fromLatin1(Store::dialect().rowIdentity), rowidColumn) +
                       afterSelect
                 : sql;
    // A live select without an order of its own lists the rows in their stored order on the
    // server too, as a plain table is read on SQLite (see openTable).
    static const QRegularExpression orderRe(QStringLiteral("\\border\\s+by\\b|\\blimit\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (live_ && *Store::dialect().rowIdentityColumn != '\0' && !orderRe.match(afterSelect).hasMatch())
        sql_ += QStringLiteral(" order by ") + QString::fromLatin1(Store::dialect().rowIdentity);
    params_.clear();
    for (auto it = params.begin(); it != params.end(); ++it)
        params_.insert(it.key().toLower(), parameterValue(it.value()));
    load(sql_, params_);
}

void RecordSet::load(const QString& sql, const QHash<QString, QVariant>& params)
{
    const PositionalSql positional = toPositional(sql);
    QSqlQuery query = prepared(positional.text);
    bindPositional(query, positional, params);
    run(query);
    const QSqlRecord record = query.record();
    // The server's identity column is the row's address, never a field the desk sees or writes.
    const SqlDialect& engine = Store::dialect();
    const QString identity = *engine.rowIdentityColumn ? QString::fromLatin1(engine.rowIdentity) : QString();
    fields_.clear();
    QVector<int> columns;
    for (int i = live_ ? 1 : 0; i < record.count(); ++i) {
        if (!identity.isEmpty() && record.fieldName(i).compare(identity, Qt::CaseInsensitive) == 0)
            continue;
        fields_ << record.fieldName(i);
        columns << i;
    }
    rows_.clear();
    while (query.next()) {
        Row row;
        row.rowid = live_ ? query.value(0).toLongLong() : 0;
        row.values.resize(columns.size());
        for (int i = 0; i < columns.size(); ++i)
            row.values[i] = query.value(columns[i]);
        rows_.push_back(std::move(row));
    }
    loadRules();
    state_ = State::Browse;
    emit reset();
    emit stateChanged();
    first();
}

void RecordSet::loadRules()
{
    rules_ = QVector<Rule>(fields_.size());
    if (!live_)
        return;
    static const QRegularExpression sized(QStringLiteral("char\\s*\\(\\s*(\\d+)\\s*\\)"),
                                          QRegularExpression::CaseInsensitiveOption);
    QSqlQuery query = prepared(QString::fromLatin1(Store::dialect().fieldRules));
    query.bindValue(0, Store::catalogName(table_));
    run(query);
    while (query.next()) {
        const int position = fieldIndex(query.value(0).toString());
        if (position < 0)
            continue;
        const QString type = query.value(1).toString();
        const auto size = sized.match(type);
        rules_[position].size = !query.isNull(3)  ? query.value(3).toInt()
                                : size.hasMatch() ? size.captured(1).toInt()
                                                  : 0;
        rules_[position].required = query.value(2).toBool();
        rules_[position].number = numberKind(type);
    }
}

int RecordSet::fieldSize(const QString& name) const
{
    const int position = fieldIndex(name);
    requireField(position, name);
    return rules_.value(position).size;
}

bool RecordSet::fieldRequired(const QString& name) const
{
    const int position = fieldIndex(name);
    requireField(position, name);
    return rules_.value(position).required;
}

RecordSet::NumberKind RecordSet::fieldNumberKind(const QString& name) const
{
    const int position = fieldIndex(name);
    requireField(position, name);
    return rules_.value(position).number;
}

// The messages name the field as the desk sees it, so that the user knows what to correct.
void RecordSet::applyRules()
{
    for (int i = 0; i < fields_.size(); ++i) {
        QVariant& value = buffer_.values[i];
        if (rules_[i].number != NumberKind::None && !value.isNull())
            value = numberFor(fields_[i], rules_[i].number, value);
        if (rules_[i].required && FieldValue(value).isEmpty())
            throw StoreError(QStringLiteral("Field '%1' must have a value.").arg(fields_[i]));
        if (rules_[i].number != NumberKind::None || value.typeId() != QMetaType::QString)
            continue;
        const QString text = value.toString();
        if (!storableText(text))
            throw StoreError(
                QStringLiteral("Field '%1' holds a character that cannot be stored (a NUL or half of a "
                               "character).")
                    .arg(fields_[i]));
        const int length = characterCount(text);
        if (rules_[i].size > 0 && length > rules_[i].size)
            throw StoreError(QStringLiteral("Field '%1' holds at most %2 characters; the text has %3.")
                                 .arg(fields_[i])
                                 .arg(rules_[i].size)
                                 .arg(length));
    }
}

void RecordSet::refresh()
{
    if (sql_.isEmpty())
        return;
    const QString sql = sql_;
    const auto params = params_;
    cancel();
    load(sql, params);
}

void RecordSet::close()
{
    if (state_ == State::Inactive)
        return;
    rows_.clear();
    fields_.clear();
    current_ = -1;
    eof_ = bof_ = true;
    state_ = State::Inactive;
    emit reset();
    emit stateChanged();
}

void RecordSet::setCurrent(int row)
{
    if (state_ == State::Edit || state_ == State::Insert)
        post();
    const int previous = current_;
    current_ = rows_.isEmpty() ? -1 : std::clamp(row, 0, int(rows_.size()) - 1);
    if (current_ != previous) {
        emit currentChanged(current_);
        if (afterScroll)
            afterScroll();
    }
}

void RecordSet::first()
{
    setCurrent(0);
    bof_ = true;
    eof_ = rows_.isEmpty();
}

void RecordSet::last()
{
    setCurrent(int(rows_.size()) - 1);
    eof_ = true;
    bof_ = rows_.isEmpty();
}

void RecordSet::next()
{
    if (current_ + 1 >= rows_.size()) {
        eof_ = true;
        return;
    }
    setCurrent(current_ + 1);
    bof_ = false;
    eof_ = false;
}

void RecordSet::prior()
{
    if (current_ <= 0) {
        bof_ = true;
        return;
    }
    setCurrent(current_ - 1);
    bof_ = false;
    eof_ = false;
}

void RecordSet::moveTo(int row)
{
    setCurrent(row);
    bof_ = eof_ = rows_.isEmpty();
}

bool RecordSet::findKey(const QVariant& value)
{
    const int position = orderFields_.isEmpty() ? 0 : fieldIndex(orderFields_.first());
    requireField(position, orderFields_.value(0));
    const FieldValue wanted(storable(value));
    for (int i = 0; i < rows_.size(); ++i) {
        const QVariant& v = rows_[i].values[position];
        const bool numeric = v.typeId() != QMetaType::QString && !v.isNull();
        if (numeric ? v.toDouble() == wanted.asFloat() && !wanted.isEmpty()
                    : v.toString() == wanted.asString() && !v.isNull()) {
            moveTo(i);
            return true;
        }
    }
    return false;
}

int RecordSet::fieldIndex(const QString& name) const
{
    for (int i = 0; i < fields_.size(); ++i)
        if (fields_[i].compare(name, Qt::CaseInsensitive) == 0) {
            // The server names bare fields in lower case; the spelling of the windows and logic that
            // ask for a field is what its messages use.
            if (fields_[i] != name && fields_[i] == name.toLower())
                fields_[i] = name;
            return i;
        }
    return -1;
}

void RecordSet::requireField(int position, const QString& name) const
{
    if (position < 0 || position >= fields_.size())
        throw StoreError(QStringLiteral("Field '%1' not found in %2").arg(name, table_));
}

FieldValue RecordSet::field(const QString& name) const
{
    const int position = fieldIndex(name);
    requireField(position, name);
    return field(position);
}

FieldValue RecordSet::field(int position) const
{
    requireField(position, QString::number(position));
    if (state_ == State::Edit || state_ == State::Insert)
        return FieldValue(buffer_.values[position]);
    if (current_ < 0)
        return FieldValue();
    return FieldValue(rows_[current_].values[position]);
}

QVariant RecordSet::valueAt(int row, int position) const
{
    if (row == current_ && (state_ == State::Edit || state_ == State::Insert))
        return buffer_.values.value(position);
    if (row < 0 || row >= rows_.size())
        return {};
    return rows_[row].values.value(position);
}

void RecordSet::setField(const QString& name, const QVariant& value)
{
    const int position = fieldIndex(name);
    requireField(position, name);
    setField(position, value);
}

void RecordSet::setField(int position, const QVariant& value)
{
    requireField(position, QString::number(position));
    if (state_ == State::Browse)
        edit();
    QVariant stored = storable(value);
    // An emptied text is an empty field, as the desk sees it, not a text of no characters.
    if (stored.typeId() == QMetaType::QString && stored.toString().isEmpty())
        stored = QVariant();
    buffer_.values[position] = stored;
    if (current_ >= 0)
        emit rowChanged(current_);
}

void RecordSet::ensureWritable() const
{
    if (state_ == State::Inactive)
        throw StoreError(QStringLiteral("Dataset not open"));
    if (isReadOnly())
        throw StoreError(QStringLiteral("Cannot modify a read-only dataset"));
}

void RecordSet::setState(State state)
{
    state_ = state;
    emit stateChanged();
}

bool RecordSet::append()
{
    ensureWritable();
    if (state_ == State::Edit || state_ == State::Insert)
        post();
    if (beforeInsert && !beforeInsert())
        return false;
    buffer_ = Row{};
    buffer_.values.resize(fields_.size());
    emit rowAboutToBeAppended(int(rows_.size()));
    rows_.push_back(buffer_);
    emit rowAppended(int(rows_.size()) - 1);
    current_ = int(rows_.size()) - 1;
    eof_ = bof_ = false;
    setState(State::Insert);
    emit currentChanged(current_);
    if (onNewRecord)
        onNewRecord();
    return true;
}

void RecordSet::edit()
{
    ensureWritable();
    if (state_ != State::Browse)
        return;
    if (current_ < 0)
        throw StoreError(QStringLiteral("Cannot edit an empty dataset"));
    buffer_ = rows_[current_];
    setState(State::Edit);
}

void RecordSet::post()
{
    if (state_ != State::Edit && state_ != State::Insert)
        return;
    emit aboutToPost();
    applyRules();
    const bool inserting = state_ == State::Insert;
    const bool drawing = inserting && beforeInsertWrite;
    // The write, what it tells the other desks and the numbers drawn for it are one whole.
    std::optional<Store::Transaction> own;
    if (!Store::inTransaction() && (drawing || tellsOthers()))
        own.emplace();
    if (drawing) {
        beforeInsertWrite();
        applyRules();
    }
    if (inserting)
        insertBuffer();
    else
        updateBuffer();
    tellChange(buffer_);
    if (!inserting)
        tellChange(rows_[current_]);
    if (own)
        own->commit();
    rows_[current_] = buffer_;
    setState(State::Browse);
    emit rowChanged(current_);
    keepOrder();
}

bool RecordSet::tellsOthers() const
{
    return *Store::dialect().notify != '\0' && !Changes::channelOf(table_).isEmpty();
}

void RecordSet::tellChange(const Row& row) const
{
    if (!tellsOthers())
        return;
    const int datum = fieldIndex(QStringLiteral("Datum"));
    Store::notify(Changes::channelOf(table_),
                  Changes::payloadOf(table_, datum < 0 ? 0 : row.values.value(datum).toInt()));
}

// The posted row takes the place a reopened table would give it; the other rows keep theirs.
void RecordSet::keepOrder()
{
    if (orderFields_.isEmpty() || !live_ || current_ < 0)
        return;
    QStringList quotedFields;
    for (const QString& f : std::as_const(orderFields_))
        quotedFields << Store::quoted(f);
    QSqlQuery query = prepared(QStringLiteral("select %1 from %2 order by %3")
                                   .arg(QString::fromLatin1(Store::dialect().rowIdentity),
                                        Store::quoted(table_), quotedFields.join(QLatin1Char(','))));
    run(query);
    const qint64 posted = rows_[current_].rowid;
    QSet<qint64> others;
    for (const Row& row : std::as_const(rows_))
        if (row.rowid != posted)
            others.insert(row.rowid);
    int to = 0;
    bool found = false;
    while (query.next()) {
        const qint64 rowid = query.value(0).toLongLong();
        if (rowid == posted) {
            found = true;
            break;
        }
        if (others.contains(rowid))
            ++to;
    }
    query.finish();
    const int from = current_;
    if (!found || to == from)
        return;
    emit rowAboutToBeMoved(from, to);
    rows_.move(from, to);
    current_ = to;
    emit rowMoved(from, to);
    emit currentChanged(current_);
}

void RecordSet::insertBuffer()
{
    // Every field is written, an empty one as empty: the row stored is the row the user saw.
    QStringList columns;
    for (const QString& f : std::as_const(fields_))
        columns << Store::quoted(f);
    // The new row's address comes back from the insert itself: the server knows no last insert id
    // of a table without object ids.
    QSqlQuery query =
        prepared(QStringLiteral("insert into %1 (%2) values (%3) returning %4")
                     .arg(Store::quoted(table_), columns.join(QLatin1Char(',')),
                          QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(',')),
                          QString::fromLatin1(Store::dialect().rowIdentity)));
    for (int i = 0; i < buffer_.values.size(); ++i)
        query.bindValue(i, bound(i));
    run(query);
    const bool stored = query.next();
    buffer_.rowid = stored ? query.value(0).toLongLong() : 0;
    query.finish();
}

void RecordSet::updateBuffer()
{
    const Row& stored = rows_[current_];
    QStringList sets;
    QVector<QVariant> values;
    for (int i = 0; i < fields_.size(); ++i) {
        if (!sameValue(buffer_.values[i], stored.values[i])) {
            sets << Store::quoted(fields_[i]) + QStringLiteral("=?");
            values << bound(i);
        }
    }
    if (sets.isEmpty())
        return;
    // Where the key is the rowid, changing the key moves the row: its new address comes back.
    const QString identity = QString::fromLatin1(Store::dialect().rowIdentity);
    QSqlQuery query = prepared(QStringLiteral("update %1 set %2 where %3=? returning %3")
                                   .arg(Store::quoted(table_), sets.join(QLatin1Char(',')), identity));
    int i = 0;
    for (; i < values.size(); ++i)
        query.bindValue(i, values[i]);
    query.bindValue(i, buffer_.rowid);
    run(query);
    const bool found = query.next();
    const qint64 rowid = found ? query.value(0).toLongLong() : 0;
    query.finish();
    if (!found)
        throw StoreError(QStringLiteral("The row could not be saved: it is no longer in %1.").arg(table_));
    buffer_.rowid = rowid;
}

// A logical field takes a boolean: the server converts no number to one, and SQLite stores it as
// the 0 or 1 it always held.
QVariant RecordSet::bound(int position) const
{
    const QVariant& value = buffer_.values[position];
    if (rules_[position].number == NumberKind::Logical && !value.isNull())
        return value.toBool();
    return value;
}

void RecordSet::cancel()
{
    if (state_ == State::Insert) {
        const int row = current_;
        setState(State::Browse);
        emit rowAboutToBeRemoved(row);
        rows_.removeAt(row);
        emit rowRemoved(row);
        current_ = -1;
        setCurrent(row - 1);
        eof_ = bof_ = rows_.isEmpty();
    } else if (state_ == State::Edit) {
        setState(State::Browse);
        emit rowChanged(current_);
    }
}

bool RecordSet::remove()
{
    ensureWritable();
    if (state_ == State::Insert) {
        cancel();
        return true;
    }
    if (current_ < 0)
        throw StoreError(QStringLiteral("Cannot delete from an empty dataset"));
    if (beforeDelete && !beforeDelete())
        return false;
    setState(State::Browse);
    std::optional<Store::Transaction> own;
    if (!Store::inTransaction() && tellsOthers())
        own.emplace();
    QSqlQuery query =
        prepared(QStringLiteral("delete from %1 where %2=?")
                     .arg(Store::quoted(table_), QString::fromLatin1(Store::dialect().rowIdentity)));
    query.bindValue(0, rows_[current_].rowid);
    run(query);
    if (query.numRowsAffected() == 0)
        throw StoreError(QStringLiteral("The row could not be deleted: it is no longer in %1.").arg(table_));
    tellChange(rows_[current_]);
    if (own)
        own->commit();
    const int row = current_;
    emit rowAboutToBeRemoved(row);
    rows_.removeAt(row);
    emit rowRemoved(row);
    current_ = -1;
    setCurrent(row);
    eof_ = rows_.isEmpty();
    return true;
}
