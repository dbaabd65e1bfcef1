#include "data/storemessage.h"

#include "data/store.h"

#include <QHash>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

namespace Store {
namespace {

const QString serverDriver = QStringLiteral("QPSQL: ");

bool fromServer(const QSqlError& error)
{
    return error.driverText().startsWith(serverDriver);
}

// libpq's message split into its fields; QPSQL appends the SQLSTATE in brackets.
struct ServerText {
    QString primary;
    QString detail;
    QString hint;
};

ServerText parsed(const QSqlError& error)
{
    static const QRegularExpression state(QStringLiteral("\\([0-9A-Z]{5}\\)\\s*$"));
    static const QRegularExpression severity(QStringLiteral("^(ERROR|FATAL|PANIC|WARNING):\\s*"));
    QString text = error.databaseText();
    text.remove(state);
    ServerText result;
    QString* current = &result.primary;
    for (const QString& raw : text.split(QLatin1Char('\n'))) {
        QString line = raw.trimmed();
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1String("DETAIL:"))) {
            current = &result.detail;
            line = line.mid(7).trimmed();
        } else if (line.startsWith(QLatin1String("HINT:"))) {
            current = &result.hint;
            line = line.mid(5).trimmed();
        } else if (line.contains(severity)) {
            current = &result.primary;
            line.remove(severity);
        }
        if (!current->isEmpty())
            *current += QLatin1Char(' ');
        *current += line;
    }
    return result;
}

QHash<QString, QString>& keyTables()
{
    static QHash<QString, QString> tables;
    return tables;
}

// The table a unique key or primary key belongs to, by its index name.
QString keyTable(const QString& key)
{
    QHash<QString, QString>& tables = keyTables();
    if (!tables.contains(key))
        learnKeyTables();
    if (tables.contains(key))
        return tables.value(key);
    // The server names a primary key after its table unless told otherwise.
    if (key.endsWith(QLatin1String("_pkey")))
        return key.chopped(5);
    return key;
}

// The server folds every unquoted name to lower case, and reports it so: the desk reads a name as
// the tables and the statement spell it.
QString deskName(const QString& name, const QString& statement)
{
    for (const QString& table : tableNames())
        if (table.compare(name, Qt::CaseInsensitive) == 0)
            return table;
    const QRegularExpression word(
        QStringLiteral("(?<![\\w\"])%1(?![\\w\"])").arg(QRegularExpression::escape(name)),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = word.match(statement);
    return m.hasMatch() ? m.captured(0) : name;
}

QStringList unquotedList(const QString& text, const QString& statement)
{
    QStringList names;
    for (QString name : text.split(QStringLiteral(", "))) {
        if (name.startsWith(QLatin1Char('"')) && name.endsWith(QLatin1Char('"')) && name.size() > 1)
            name = name.mid(1, name.size() - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
        else
            name = deskName(name, statement);
        names << name;
    }
    return names;
}

bool connectionLost(const QSqlError& error)
{
    const QString state = error.nativeErrorCode();
    if (state.startsWith(QLatin1String("08")) || state == QLatin1String("57P01") ||
        state == QLatin1String("57P02") || state == QLatin1String("57P03"))
        return true;
    const QString name = QString::fromLatin1(connectionName);
    if (!QSqlDatabase::contains(name))
        return false;
    const QSqlDatabase db = QSqlDatabase::database(name, false);
    return db.driverName() == QLatin1String(dialect(Engine::PostgreSQL).driver) && !db.isOpen();
}

// The server's refusal in the words SQLite gives for the same refusal, so that the desk reads one
// text on either engine; anything else in the server's own words.
QString sqliteWording(const QSqlError& error, const ServerText& text, const QString& statement)
{
    const QString state = error.nativeErrorCode();
    if (state == QLatin1String("23505")) {
        static const QRegularExpression key(QStringLiteral("unique constraint \"(.+)\"$"));
        static const QRegularExpression fields(QStringLiteral("^Key \\((.+?)\\)=\\("));
        const QRegularExpressionMatch k = key.match(text.primary);
        const QRegularExpressionMatch f = fields.match(text.detail);
        if (k.hasMatch() && f.hasMatch()) {
            const QString table = deskName(keyTable(k.captured(1)), statement);
            QStringList columns;
            for (const QString& field : unquotedList(f.captured(1), statement))
                columns << table + QLatin1Char('.') + field;
            return QStringLiteral("UNIQUE constraint failed: ") + columns.join(QStringLiteral(", "));
        }
    } else if (state == QLatin1String("23514")) {
        static const QRegularExpression check(QStringLiteral("violates check constraint \"(.+)\"$"));
        const QRegularExpressionMatch m = check.match(text.primary);
        if (m.hasMatch())
            return QStringLiteral("CHECK constraint failed: ") + m.captured(1);
    } else if (state == QLatin1String("23502")) {
        static const QRegularExpression null(QStringLiteral(
            "^null value in column \"(.+)\" of relation \"(.+)\" violates not-null constraint$"));
        const QRegularExpressionMatch m = null.match(text.primary);
        if (m.hasMatch())
            return QStringLiteral("NOT NULL constraint failed: %1.%2")
                .arg(deskName(m.captured(2), statement), deskName(m.captured(1), statement));
    } else if (state == QLatin1String("23503")) {
        return QStringLiteral("FOREIGN KEY constraint failed");
    }
    return {};
}

// SQLite's text and driver text as the desk has always read them; the server's turned into the same.
QSqlError normalised(const QSqlError& error, const QString& statement)
{
    if (!fromServer(error))
        return error;
    const ServerText text = parsed(error);
    QString words = sqliteWording(error, text, statement);
    if (words.isEmpty())
        words = serverWords(error);
    return QSqlError(error.driverText().mid(serverDriver.size()), words, error.type(),
                     error.nativeErrorCode());
}

} // namespace

QString serverWords(const QSqlError& error)
{
    const ServerText text = parsed(error);
    QStringList words;
    for (const QString& part : {text.primary, text.detail, text.hint})
        if (!part.isEmpty())
            words << part;
    if (words.isEmpty())
        return error.driverText().startsWith(serverDriver) ? error.driverText().mid(serverDriver.size())
                                                           : error.text();
    return words.join(QLatin1Char(' '));
}

void learnKeyTables()
{
    const QString name = QString::fromLatin1(connectionName);
    if (!QSqlDatabase::contains(name))
        return;
    QSqlQuery catalogue(QSqlDatabase::database(name, false));
    if (!catalogue.exec(QStringLiteral("select i.relname, t.relname from pg_index x "
                                       "join pg_class i on i.oid = x.indexrelid "
                                       "join pg_class t on t.oid = x.indrelid "
                                       "where x.indisunique and pg_table_is_visible(t.oid)")))
        return;
    QHash<QString, QString>& tables = keyTables();
    tables.clear();
    while (catalogue.next())
        tables.insert(catalogue.value(0).toString(), catalogue.value(1).toString());
}

QString message(const QSqlError& error, const QString& statement)
{
    if (fromServer(error) && connectionLost(error)) {
        noticeLostServer();
        QString words = serverWords(error);
        if (!words.endsWith(QLatin1Char('.')))
            words += QLatin1Char('.');
        return QStringLiteral("The connection to the database server was lost: %1 The action was not "
                              "completed; the next one connects again.")
            .arg(words);
    }
    const QSqlError worded = normalised(error, statement);
    // A broken unique key reads as the desk knows it, naming the table and the fields, instead of the
    // engine's own wording.
    static const QRegularExpression unique(QStringLiteral("^UNIQUE constraint failed: (.+)$"));
    const QRegularExpressionMatch match = unique.match(worded.databaseText());
    if (!match.hasMatch())
        return worded.text();
    QString table;
    QStringList fields;
    for (const QString& column : match.captured(1).split(QStringLiteral(", "))) {
        table = column.section(QLatin1Char('.'), 0, 0);
        fields << column.section(QLatin1Char('.'), 1);
    }
    const QString key = fields.join(QStringLiteral(", "));
    return QStringLiteral("Key violation: %1 already holds a row with this %2. The %2 must be unique.")
        .arg(table, key);
}

StoreError error(const QSqlError& error, const QString& statement)
{
    const bool lost = fromServer(error) && connectionLost(error);
    return StoreError(message(error, statement),
                      lost ? StoreError::Failure::Connection : StoreError::Failure::Statement);
}

} // namespace Store
