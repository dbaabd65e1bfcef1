#include "install/schema.h"

#include "data/store.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

#include <functional>

namespace {

// Declared types: SMALLINT/INTEGER for short, integer and whole numbers, DOUBLE for numbers, REAL
// day counts for dates and timestamps, BOOLEAN 0/1 for logical fields. Every VARCHAR(n) column
// refuses a longer text, every required one an empty text and every number column a text that
// is no number (withRules below), so that any program writing the file meets the same rules as
// the windows.
const char* const statements[] = {
    R"(create table Tische (
        Tischnummer SMALLINT not null primary key,
        Aktiv BOOLEAN, Startzeit REAL, Stopzeit REAL, "Summe Laufzeit" INTEGER,
        XPosition INTEGER, YPosition INTEGER, TypNr INTEGER, Abrechnungsart INTEGER, Anschluss SMALLINT))",
    R"(create table Tischfarben (
        TypNr SMALLINT not null primary key, Tischtyp VARCHAR(15) not null,
        Stundenpreis DOUBLE, Tischfarbe INTEGER, Tischbild INTEGER))",
    R"(create table Reservierung (
        Reservierungsnummer INTEGER, Datum REAL, Stunde INTEGER, Viertelstunde INTEGER, Platz SMALLINT,
        Reservierer VARCHAR(30), Mitgliedsnummer INTEGER, Prozente SMALLINT, Bezahlt BOOLEAN))",
    // Covers the occupancy walk: its rows come from the index in the walk's own order.
    "create index Reservierung_Belegung on Reservierung (Datum, Platz, Stunde, Viertelstunde, "
    "Reservierungsnummer, Bezahlt)",
    "create index Reservierung_Nummer on Reservierung (Reservierungsnummer, Datum, Stunde, "
    "Viertelstunde)",
    "create index Reservierung_Platz on Reservierung (Platz, Datum)",
    R"(create table Tischabrechnung (
        Tischnummer SMALLINT, Einschreibdatum REAL, Betrag DOUBLE, DrinksundSnacks DOUBLE, Abgerechnet BOOLEAN,
        Abrechnungsfolge INTEGER, Abrechnungsdatum REAL, Startzeit REAL, Quaters SMALLINT, Reservierer VARCHAR(30)))",
    "create index Tischabrechnung_Offen on Tischabrechnung (Abgerechnet)",
    "create index Tischabrechnung_Folge on Tischabrechnung (Abrechnungsfolge)",
    "create index Tischabrechnung_Datum on Tischabrechnung (Abrechnungsdatum)",
    R"(create table Kennzahlen (
        Nachkommastellen INTEGER, Beleg BOOLEAN, Firmenname VARCHAR(60), Strasse VARCHAR(60), PLZOrt VARCHAR(60),
        Telefon VARCHAR(40), Belegid INTEGER, Beleganzahl INTEGER, Belegdruck INTEGER, Lichtschaltung BOOLEAN,
        ComPort INTEGER, Wartezeit INTEGER))",
    R"(create table Preisprofil (
        Stundenindex INTEGER not null primary key, Stunde VARCHAR(20), Stunde_e VARCHAR(30),
        Sonntag INTEGER, Montag INTEGER, Dienstag INTEGER, Mittwoch INTEGER, Donnerstag INTEGER,
        Freitag INTEGER, Samstag INTEGER))",
    // INT, not INTEGER: an INTEGER key would be SQLite's rowid and a row without a number would be
    // numbered silently instead of refused.
    R"(create table Mitglieder (
        Mitgliedsnummer INT not null primary key
            constraint "Mitgliedsnummer has at most 7 digits" check (Mitgliedsnummer between 0 and 9999999), Nachname VARCHAR(30), Vorname VARCHAR(30), Ort VARCHAR(30),
        PLZ VARCHAR(15), Strasse VARCHAR(30), Hausnummer VARCHAR(15), Telefon VARCHAR(20), Eintritt REAL,
        Austritt REAL, Geburtsdatum REAL, Rabatt DOUBLE, Sonstiges VARCHAR(100)))",
    "create index Zuname on Mitglieder (Nachname)",
    "create table Monatsrabatt (Mitglied INTEGER, Monat INTEGER, Rabatt DOUBLE)",
    "create index Monatsrabatt_Mitglied on Monatsrabatt (Mitglied)",
    "create table Namen (Name VARCHAR(30) not null primary key, Telefonnummer VARCHAR(20))",
    R"(create table Rechte (
        Benutzer VARCHAR(30), Passwort VARCHAR(30), Type VARCHAR(20), Login BOOLEAN,
        Benutzerrechte BOOLEAN, Mitglieder BOOLEAN, Kenngroessen BOOLEAN, Preise BOOLEAN, Tischverwaltung BOOLEAN,
        ListofNames BOOLEAN, Aktivitaeten BOOLEAN, Tagesabschluss BOOLEAN, Abschluesse BOOLEAN,
        Lichteinundaus BOOLEAN, Tischfarben BOOLEAN, Laenderwahl BOOLEAN, Tischstatistik BOOLEAN,
        Archiv BOOLEAN, Inventar BOOLEAN, Chipkarte BOOLEAN))",
    R"(create table Aktivitaet (
        Aufzeichnung REAL, Datum REAL, Platz INTEGER, Reservierer VARCHAR(30), Startzeit VARCHAR(10), Laufzeit INTEGER))",
    "create index Aktivitaet_Aufzeichnung on Aktivitaet (Aufzeichnung)",
    "create table Kartenleser (Aktiv BOOLEAN, FuerMitglieder BOOLEAN, FuerAngestellte BOOLEAN)",
    "create table Schaltplan (Anschluss INTEGER not null primary key, Bezeichnung VARCHAR(30), "
    "Gruppen INTEGER)",
    R"(create table "Länder" (Land VARCHAR(40), "Währung" VARCHAR(6)))",
    R"(create table Inventar (
        Inventar_id INTEGER, Name VARCHAR(40), Kategorie VARCHAR(30), Datum REAL, Lagerbestand NUMERIC,
        Wert NUMERIC, Beschreibung TEXT))",
    "create index si_name on Inventar (Name)",
    "create index si_kategorie on Inventar (Kategorie)",
    "create index si_nummer on Inventar (Inventar_id)",
};

} // namespace

namespace Schema {

QStringList tableNames()
{
    return Store::tableNames();
}

Statement::Statement(QSqlDatabase& db, const QString& sql)
    : query_(db)
    , sql_(sql)
{
    if (!query_.prepare(sql))
        throw StoreError(query_.lastError().text() + QStringLiteral(": ") + sql);
}

void Statement::write(const QVariantList& values)
{
    for (int i = 0; i < values.size(); ++i)
        query_.bindValue(i, values[i]);
    if (!query_.exec())
        throw StoreError(query_.lastError().text() + QStringLiteral(": ") + sql_);
}

void exec(QSqlDatabase& db, const QString& sql, const QVariantList& values)
{
    Statement(db, sql).write(values);
}

namespace {

// Appends the checks worded by `rules` (from the match and the bare column name) to every column
// definition the pattern finds; its first group is the column's name.
QString withColumnRules(const QString& sql, const QRegularExpression& column,
                        const std::function<QString(const QRegularExpressionMatch&, const QString&)>& rules)
{
    QString result;
    qsizetype done = 0;
    for (auto it = column.globalMatch(sql); it.hasNext();) {
        const auto m = it.next();
        QString bare = m.captured(1);
        bare.remove(QLatin1Char('"'));
        result += sql.mid(done, m.capturedEnd() - done) + rules(m, bare);
        done = m.capturedEnd();
    }
    return result + sql.mid(done);
}

} // namespace

// Adds the named checks of the columns: "Name VARCHAR(30) not null" refuses 31 characters and the
// empty text; "Rabatt DOUBLE" refuses a text that reads as no number ("-", "1e"), which SQLite would
// keep in any column and every reader take for 0 (a text that reads as a number has become that
// number before the check sees it). The names are what the engine reports when a write is refused.
QString withRules(const QString& sql)
{
    if (!sql.startsWith(QLatin1String("create table"), Qt::CaseInsensitive))
        return sql;
    static const QRegularExpression text(
        QStringLiteral("(\"[^\"]+\"|\\b\\w+)\\s+VARCHAR\\((\\d+)\\)(\\s+not null)?"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression number(
        QStringLiteral("(\"[^\"]+\"|\\b\\w+)\\s+(SMALLINT|INTEGER|INT|DOUBLE|REAL|NUMERIC|BOOLEAN)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    const QString texts =
        withColumnRules(sql, text, [](const QRegularExpressionMatch& m, const QString& bare) {
            const QString name = m.captured(1);
            QString rules =
                QStringLiteral(" constraint \"%1 holds at most %2 characters\" check (length(%3) <= %2)")
                    .arg(bare, m.captured(2), name);
            if (!m.captured(3).isEmpty())
                rules +=
                    QStringLiteral(" constraint \"%1 must have a value\" check (%2 <> '')").arg(bare, name);
            return rules;
        });
    return withColumnRules(texts, number, [](const QRegularExpressionMatch& m, const QString& bare) {
        return QStringLiteral(
                   " constraint \"%1 holds numbers only\" check (typeof(%2) in ('integer', 'real', "
                   "'null'))")
            .arg(bare, m.captured(1));
    });
}

void create(QSqlDatabase& db)
{
    for (const char* sql : statements)
        exec(db, withRules(QString::fromUtf8(sql)));
}

} // namespace Schema
