#include "install/schema.h"

#include "data/rights.h"
#include "data/store.h"

#include <QSqlError>

namespace Schema {

Field Field::notNull() const
{
    Field f = *this;
    f.required = true;
    return f;
}

Field Field::primaryKey() const
{
    Field f = *this;
    f.key = true;
    return f;
}

Field Field::checked(const char* name, const char* condition) const
{
    Field f = *this;
    f.checkName = name;
    f.check = condition;
    return f;
}

namespace {

Field text(const char* name, int length)
{
    return {QString::fromUtf8(name), Holds::Text, length};
}

// A user and the rights that enable the commands after the user's log-in.
std::vector<Field> rightsFields()
{
    std::vector<Field> fields{text("Benutzer", 30),
                              text("Passwort", 30),
                              text("Type", 20),
                              {QStringLiteral("Login"), Holds::Logical}};
    for (const QString& right : rightFields)
        fields.push_back({right, Holds::Logical});
    return fields;
}

} // namespace

// Every text of n characters refuses a longer text, every required one the empty text and every
// number column a value that is no number, so that any program writing the tables meets the same
// rules as the windows (statements() words them).
const std::vector<Table>& tables()
{
    using enum Holds;
    static const std::vector<Table> all{
        {"Tische",
         {Field{"Tischnummer", SmallInteger}.notNull().primaryKey(),
          {"Aktiv", Logical},
          {"Startzeit", DayCount},
          {"Stopzeit", DayCount},
          {"Summe Laufzeit", Integer},
          {"XPosition", Integer},
          {"YPosition", Integer},
          {"TypNr", Integer},
          {"Abrechnungsart", Integer},
          {"Anschluss", SmallInteger},
          {"Lichtautomatik", Logical},
          {"Vorlauf", SmallInteger},
          {"Nachlauf", SmallInteger}}},
        {"Tischfarben",
         {Field{"TypNr", SmallInteger}.notNull().primaryKey(),
          text("Tischtyp", 15).notNull(),
          {"Stundenpreis", FloatingPoint},
          {"Tischfarbe", Integer},
          {"Tischbild", Integer}}},
        {"Reservierung",
         {{"Reservierungsnummer", Integer},
          {"Datum", DayCount},
          {"Stunde", Integer},
          {"Viertelstunde", Integer},
          {"Platz", SmallInteger},
          text("Reservierer", 30),
          {"Mitgliedsnummer", Integer},
          {"Prozente", SmallInteger},
          {"Bezahlt", Logical}},
         {// Covers the occupancy walk: its rows come from the index in the walk's own order.
          {"Reservierung_Belegung",
           {"Datum", "Platz", "Stunde", "Viertelstunde", "Reservierungsnummer", "Bezahlt"}},
          {"Reservierung_Nummer", {"Reservierungsnummer", "Datum", "Stunde", "Viertelstunde"}},
          {"Reservierung_Platz", {"Platz", "Datum"}},
          // A quarter of a court is booked once: of two desks saving it at the same moment, the
          // second is refused by the engine, whatever either desk has read before.
          {"Reservierung_Viertelstunde", {"Datum", "Platz", "Stunde", "Viertelstunde"}, true}}},
        {"Tischabrechnung",
         {{"Tischnummer", SmallInteger},
          {"Einschreibdatum", DayCount},
          {"Betrag", FloatingPoint},
          {"DrinksundSnacks", FloatingPoint},
          {"Abgerechnet", Logical},
          {"Abrechnungsfolge", Integer},
          {"Abrechnungsdatum", DayCount},
          {"Startzeit", DayCount},
          {"Quaters", SmallInteger},
          text("Reservierer", 30)},
         {{"Tischabrechnung_Offen", {"Abgerechnet"}},
          {"Tischabrechnung_Folge", {"Abrechnungsfolge"}},
          {"Tischabrechnung_Datum", {"Abrechnungsdatum"}}}},
        {"Kennzahlen",
         {{"Nachkommastellen", Integer},
          {"Beleg", Logical},
          text("Firmenname", 60),
          text("Strasse", 60),
          text("PLZOrt", 60),
          text("Telefon", 40),
          {"Belegid", Integer},
          {"Beleganzahl", Integer},
          {"Belegdruck", Integer},
          {"Lichtschaltung", Logical},
          {"ComPort", Integer},
          {"Wartezeit", Integer}}},
        {"Preisprofil",
         {Field{"Stundenindex", Integer}.notNull().primaryKey(),
          text("Stunde", 20),
          text("Stunde_e", 30),
          {"Sonntag", Integer},
          {"Montag", Integer},
          {"Dienstag", Integer},
          {"Mittwoch", Integer},
          {"Donnerstag", Integer},
          {"Freitag", Integer},
          {"Samstag", Integer}}},
        {"Mitglieder",
         {Field{"Mitgliedsnummer", IntegerKey}.notNull().primaryKey().checked(
              "Mitgliedsnummer has at most 7 digits", "%1 between 0 and 9999999"),
          text("Nachname", 30),
          text("Vorname", 30),
          text("Ort", 30),
          text("PLZ", 15),
          text("Strasse", 30),
          text("Hausnummer", 15),
          text("Telefon", 20),
          {"Eintritt", DayCount},
          {"Austritt", DayCount},
          {"Geburtsdatum", DayCount},
          {"Rabatt", FloatingPoint},
          text("Sonstiges", 100)},
         {{"Zuname", {"Nachname"}}}},
        {"Monatsrabatt",
         {{"Mitglied", Integer}, {"Monat", Integer}, {"Rabatt", FloatingPoint}},
         {{"Monatsrabatt_Mitglied", {"Mitglied"}}}},
        {"Namen", {text("Name", 30).notNull().primaryKey(), text("Telefonnummer", 20)}},
        {"Rechte", rightsFields()},
        {"Aktivitaet",
         {{"Aufzeichnung", DayCount},
          {"Datum", DayCount},
          {"Platz", Integer},
          text("Reservierer", 30),
          text("Startzeit", 10),
          {"Laufzeit", Integer}},
         {{"Aktivitaet_Aufzeichnung", {"Aufzeichnung"}}}},
        {"Kartenleser", {{"Aktiv", Logical}, {"FuerMitglieder", Logical}, {"FuerAngestellte", Logical}}},
        {"Schaltplan",
         {Field{"Anschluss", Integer}.notNull().primaryKey(), text("Bezeichnung", 30), {"Gruppen", Integer}}},
        {"Länder", {text("Land", 40), text("Währung", 6)}},
        {"Inventar",
         {{"Inventar_id", Integer},
          text("Name", 40),
          text("Kategorie", 30),
          {"Datum", DayCount},
          {"Lagerbestand", Number},
          {"Wert", Number},
          {"Beschreibung", Memo}},
         {{"si_name", {"Name"}}, {"si_kategorie", {"Kategorie"}}, {"si_nummer", {"Inventar_id"}}}},
    };
    return all;
}

QStringList tableNames()
{
    return Store::tableNames();
}

QString identifier(const QString& name)
{
    return Store::quoted(name);
}

namespace {

QString type(const SqlDialect& d, const Field& f)
{
    switch (f.holds) {
    case Holds::SmallInteger: return QString::fromLatin1(d.smallInteger);
    case Holds::Integer: return QString::fromLatin1(d.integer);
    case Holds::IntegerKey: return QString::fromLatin1(d.integerKey);
    case Holds::FloatingPoint: return QString::fromLatin1(d.floatingPoint);
    case Holds::DayCount: return QString::fromLatin1(d.dayCount);
    case Holds::Logical: return QString::fromLatin1(d.logical);
    case Holds::Number: return QString::fromLatin1(d.number);
    case Holds::Memo: return QString::fromLatin1(d.memo);
    case Holds::Text: break;
    }
    return QString::fromLatin1(d.text).arg(f.length);
}

QString constraint(const QString& name, const QString& condition)
{
    return QStringLiteral(" constraint %1 check (%2)").arg(Store::quoted(name), condition);
}

// The names of the checks are what the engine reports when it refuses a write; they name the
// field as the desk knows it.
QString column(const SqlDialect& d, const Field& f)
{
    const QString& bare = f.name;
    const QString name = identifier(bare);
    QString sql = name + QLatin1Char(' ') + type(d, f);
    const bool number = f.holds != Holds::Text && f.holds != Holds::Memo;
    if (number && *d.numbersOnly)
        sql += constraint(bare + QStringLiteral(" holds numbers only"),
                          QString::fromLatin1(d.numbersOnly).arg(name));
    if (f.required)
        sql += QStringLiteral(" not null");
    if (f.holds == Holds::Text) {
        sql += constraint(QStringLiteral("%1 holds at most %2 characters").arg(bare).arg(f.length),
                          QStringLiteral("length(%1) <= %2").arg(name).arg(f.length));
        if (f.required)
            sql +=
                constraint(bare + QStringLiteral(" must have a value"), QStringLiteral("%1 <> ''").arg(name));
    }
    if (f.key)
        sql += QStringLiteral(" primary key");
    if (f.checkName)
        sql += constraint(QString::fromUtf8(f.checkName), QString::fromLatin1(f.check).arg(name));
    return sql;
}

QString joinedNames(const std::vector<const char*>& names)
{
    QStringList quoted;
    for (const char* n : names)
        quoted << identifier(QString::fromUtf8(n));
    return quoted.join(QStringLiteral(", "));
}

} // namespace

QStringList statements(Engine engine)
{
    const SqlDialect& d = dialect(engine);
    QStringList result;
    for (const Table& table : tables()) {
        const QString name = identifier(QString::fromUtf8(table.name));
        QStringList columns;
        for (const Field& f : table.fields)
            columns << column(d, f);
        if (*d.rowIdentityColumn)
            columns << QString::fromLatin1(d.rowIdentityColumn);
        result << QStringLiteral("create table %1 (\n    %2)")
                      .arg(name, columns.join(QStringLiteral(",\n    ")));
        for (const Index& index : table.indexes)
            result << QStringLiteral("create %1index %2 on %3 (%4)")
                          .arg(index.unique ? QStringLiteral("unique ") : QString(),
                               QString::fromUtf8(index.name), name, joinedNames(index.fields));
    }
    return result;
}

void create(QSqlDatabase& db, Engine engine)
{
    // Not prepared: the server prepares no definitions.
    for (const QString& sql : statements(engine)) {
        QSqlQuery query(db);
        if (!query.exec(sql))
            throw StoreError(query.lastError().text() + QStringLiteral(": ") + sql);
    }
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

} // namespace Schema
