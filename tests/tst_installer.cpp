#include "data/daycount.h"
#include "data/rights.h"
#include "data/sqldialect.h"
#include "data/store.h"
#include "install/installer.h"
#include "silentport.h"
#include "testinstallation.h"
#include "testserver.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(Engine)

namespace {

struct Run {
    int exitCode;
    QString stderrText;
};

Run install(const QString& registry, const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("COURTORIA_REGISTRY", registry);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(COURTORIA_INSTALL), arguments);
    if (!process.waitForFinished(60000))
        process.kill();
    process.waitForFinished();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardError())};
}

QByteArray digest(const QString& file)
{
    QFile f(file);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

const char* engineName(Engine engine)
{
    return engine == Engine::SQLite ? "sqlite" : "postgresql";
}

QString connectionName(Engine engine, const QString& purpose)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(engineName(engine)), purpose);
}

// An own connection to a database: the SQLite file, or a libpq connection string.
QSqlDatabase open(Engine engine, const QString& name, const QString& where)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QLatin1String(dialect(engine).driver), name);
    if (engine == Engine::SQLite)
        db.setDatabaseName(where);
    else
        db.setConnectOptions(where);
    if (!db.open())
        qWarning("%s: %s", qPrintable(where), qPrintable(db.lastError().text()));
    return db;
}

void close(const QString& name)
{
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

QSqlQuery select(QSqlDatabase& db, const QString& sql, const QVariantList& values = {})
{
    QSqlQuery query(db);
    if (!query.prepare(sql))
        qWarning("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values[i]);
    if (!query.exec())
        qWarning("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
    return query;
}

bool write(QSqlQuery& query, const QVariantList& values)
{
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values[i]);
    return query.exec();
}

int count(QSqlDatabase& db, const QString& sql, const QVariantList& values = {})
{
    QSqlQuery query = select(db, sql, values);
    return query.next() ? query.value(0).toInt() : -1;
}

// A name as the server keeps it: folded to lower case unless it had to be quoted.
QString serverName(const QString& name)
{
    static const QRegularExpression ascii(QStringLiteral("^[A-Za-z0-9_]+$"));
    return ascii.match(name).hasMatch() ? name.toLower() : name;
}

QString nameOn(Engine engine, const QString& name)
{
    return engine == Engine::SQLite ? name : serverName(name);
}

// The tables as this program's statements name them; the server looks "Länder" up by its quotes.
QString tableReference(const QString& table)
{
    return table == QStringLiteral("Länder") ? QStringLiteral("\"Länder\"") : table;
}

// "Name TYPE [not null] [key]" of every field in its position, as the engine reports it.
QStringList columns(Engine engine, QSqlDatabase& db, const QString& table)
{
    QStringList result;
    QSqlQuery query =
        engine == Engine::SQLite
            ? select(db, "select name, type, \"notnull\", pk > 0 from pragma_table_info(?) order by cid",
                     {table})
            : select(
                  db,
                  "select a.attname, format_type(a.atttypid, a.atttypmod), a.attnotnull, exists (select 1 "
                  "from pg_index i where i.indrelid = a.attrelid and i.indisprimary and a.attnum = any "
                  "(i.indkey)) from pg_attribute a where a.attrelid = cast(? as regclass) and a.attnum > 0 "
                  "and not a.attisdropped order by a.attnum",
                  {tableReference(table)});
    while (query.next())
        result << query.value(0).toString() + ' ' + query.value(1).toString() +
                      (query.value(2).toBool() ? " not null" : "") + (query.value(3).toBool() ? " key" : "");
    return result;
}

// "name [unique]: field,field" of every index made for the table beside its primary key.
QStringList indexes(Engine engine, QSqlDatabase& db, const QString& table)
{
    QSqlQuery query =
        engine == Engine::SQLite
            ? select(db,
                     "select l.name, l.\"unique\", (select group_concat(name, ',') from (select name from "
                     "pragma_index_info(l.name) order by seqno)) from pragma_index_list(?) l where l.origin "
                     "<> 'pk'",
                     {table})
            : select(db,
                     "select c.relname, i.indisunique, (select string_agg(a.attname, ',' order by k.n) from "
                     "unnest(i.indkey) with ordinality k(attnum, n) join pg_attribute a on a.attrelid = "
                     "i.indrelid and a.attnum = k.attnum) from pg_index i join pg_class c on c.oid = "
                     "i.indexrelid where i.indrelid = cast(? as regclass) and not i.indisprimary",
                     {tableReference(table)});
    QStringList result;
    while (query.next())
        result << query.value(0).toString() + (query.value(1).toBool() ? " unique" : "") + ": " +
                      query.value(2).toString();
    result.sort();
    return result;
}

// The named checks of a table, as the engine keeps them.
QStringList checks(Engine engine, QSqlDatabase& db, const QString& table)
{
    QStringList result;
    if (engine == Engine::SQLite) {
        QSqlQuery query =
            select(db, "select sql from sqlite_master where type = 'table' and name = ?", {table});
        query.next();
        static const QRegularExpression named(QStringLiteral("constraint \"([^\"]+)\" check"));
        for (auto it = named.globalMatch(query.value(0).toString()); it.hasNext();)
            result << it.next().captured(1);
    } else {
        QSqlQuery query = select(
            db, "select conname from pg_constraint where conrelid = cast(? as regclass) and contype = 'c'",
            {tableReference(table)});
        while (query.next())
            result << query.value(0).toString();
    }
    result.sort();
    return result;
}

// Every row of a table as text, sorted, with logical values as 0 and 1 and numbers by their value:
// what both engines must hold alike.
QStringList rows(QSqlDatabase& db, const QString& reference)
{
    QSqlQuery query = select(db, "select * from " + reference);
    QStringList result;
    while (query.next()) {
        const QSqlRecord record = query.record();
        QStringList fields;
        for (int i = 0; i < record.count(); ++i) {
            if (record.fieldName(i) == QStringLiteral("rowid"))
                continue;
            const QVariant v = query.value(i);
            if (v.isNull())
                fields << "NULL";
            else if (v.typeId() == QMetaType::Bool)
                fields << QString::number(v.toBool() ? 1 : 0);
            else if (v.typeId() == QMetaType::QString)
                fields << "'" + v.toString() + "'";
            else
                fields << QString::number(v.toDouble(), 'g', 17);
        }
        result << fields.join(QLatin1Char('|'));
    }
    result.sort();
    return result;
}

// What a database holds: every relation on it and every row of the tables.
QStringList fingerprint(Engine engine, QSqlDatabase& db)
{
    QStringList result;
    QSqlQuery relations =
        engine == Engine::SQLite
            ? select(db, "select type || ' ' || name from sqlite_master order by name")
            : select(db, "select cast(c.relkind as text) || ' ' || c.relname from pg_class c join "
                         "pg_namespace n on n.oid = "
                         "c.relnamespace where n.nspname = current_schema() order by c.relname");
    while (relations.next())
        result << relations.value(0).toString();
    const QStringList listed = result;
    for (const QString& relation : listed)
        if (relation.startsWith(engine == Engine::SQLite ? "table " : "r "))
            result << rows(db, '"' + relation.section(QLatin1Char(' '), 1) + '"');
    return result;
}

} // namespace

class TestInstaller : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void tablesAndFields_data();
    void tablesAndFields();
    void sameChecksOnBothEngines();
    void installedRows_data();
    void installedRows();
    void demoRowsAroundToday_data();
    void demoRowsAroundToday();
    void sameRowsOnBothEngines();
    void quarterBookedOnce_data();
    void quarterBookedOnce();
    void checksRefuseBadValues_data();
    void checksRefuseBadValues();
    void registryNamesTheDirectory_data();
    void registryNamesTheDirectory();
    void refusesToOverwrite();
    void refusedServerDatabaseStaysAsItWas_data();
    void refusedServerDatabaseStaysAsItWas();
    void unreachableServerSaysSo_data();
    void unreachableServerSaysSo();
    void silentServerEndsAtTimeout_data();
    void silentServerEndsAtTimeout();
    void passwordNeverReachesRegistry();
    void testInstallationOnEither_data();
    void testInstallationOnEither();
    void refusesIncompleteCommand_data();
    void refusesIncompleteCommand();

private:
    void engines();
    // Skips a server row of a data table when this run has no test server.
    bool haveEngine(Engine engine);
    QSqlDatabase database(Engine engine) { return QSqlDatabase::database(connectionName(engine, "check")); }
    QString hallOf(Engine engine) const { return dir.filePath(QStringLiteral("hall_") + engineName(engine)); }
    QString registryOf(Engine engine) const
    {
        return dir.filePath(QStringLiteral("registry_") + engineName(engine) + QStringLiteral(".ini"));
    }

    QTemporaryDir dir;
    std::unique_ptr<TestDatabase> server; // the demo installation's database on the test server
};

void TestInstaller::engines()
{
    QTest::addColumn<Engine>("engine");
    QTest::newRow("sqlite") << Engine::SQLite;
    QTest::newRow("postgresql") << Engine::PostgreSQL;
}

bool TestInstaller::haveEngine(Engine engine)
{
    return engine == Engine::SQLite || (server && server->isValid());
}

#define REQUIRE_ENGINE(engine)                                                                               \
    if (!haveEngine(engine))                                                                                 \
    QSKIP("No test server (COURTORIA_TEST_SERVER)")

void TestInstaller::initTestCase()
{
    // Installs in this process write here, never into the user's registry.
    qputenv("COURTORIA_REGISTRY", dir.filePath("inprocess.ini").toLocal8Bit());
    const QString registry = registryOf(Engine::SQLite);
    QFile(registry).open(QIODevice::WriteOnly); // an empty registry file
    const Run run = install(registry, {"--dir", hallOf(Engine::SQLite), "--demo"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.stderrText));
    QVERIFY(open(Engine::SQLite, connectionName(Engine::SQLite, "check"),
                 hallOf(Engine::SQLite) + "/Tables/Tennistables.sqlite")
                .isOpen());

    if (!TestDatabase::serverAvailable())
        return;
    server = std::make_unique<TestDatabase>();
    QVERIFY2(server->isValid(), qPrintable(server->failure()));
    const Run onServer =
        install(registryOf(Engine::PostgreSQL),
                {"--dir", hallOf(Engine::PostgreSQL), "--server", server->connectionString(), "--demo"});
    QVERIFY2(onServer.exitCode == 0, qPrintable(onServer.stderrText));
    QVERIFY(open(Engine::PostgreSQL, connectionName(Engine::PostgreSQL, "check"), server->connectionString())
                .isOpen());
}

void TestInstaller::cleanupTestCase()
{
    close(connectionName(Engine::SQLite, "check"));
    close(connectionName(Engine::PostgreSQL, "check"));
    server.reset();
}

void TestInstaller::tablesAndFields_data()
{
    engines();
}

void TestInstaller::tablesAndFields()
{
    QFETCH(Engine, engine);
    REQUIRE_ENGINE(engine);
    QSqlDatabase db = database(engine);
    // Declared as SQLite words them; the server's types follow from them.
    const QMap<QString, QStringList> expected{
        {"Tische",
         {"Tischnummer SMALLINT not null key", "Aktiv BOOLEAN", "Startzeit REAL", "Stopzeit REAL",
          "Summe Laufzeit INTEGER", "XPosition INTEGER", "YPosition INTEGER", "TypNr INTEGER",
          "Abrechnungsart INTEGER", "Anschluss SMALLINT", "Lichtautomatik BOOLEAN", "Vorlauf SMALLINT",
          "Nachlauf SMALLINT"}},
        {"Tischfarben",
         {"TypNr SMALLINT not null key", "Tischtyp VARCHAR(15) not null", "Stundenpreis DOUBLE",
          "Tischfarbe INTEGER", "Tischbild INTEGER"}},
        {"Reservierung",
         {"Reservierungsnummer INTEGER", "Datum REAL", "Stunde INTEGER", "Viertelstunde INTEGER",
          "Platz SMALLINT", "Reservierer VARCHAR(30)", "Mitgliedsnummer INTEGER", "Prozente SMALLINT",
          "Bezahlt BOOLEAN"}},
        {"Tischabrechnung",
         {"Tischnummer SMALLINT", "Einschreibdatum REAL", "Betrag DOUBLE", "DrinksundSnacks DOUBLE",
          "Abgerechnet BOOLEAN", "Abrechnungsfolge INTEGER", "Abrechnungsdatum REAL", "Startzeit REAL",
          "Quaters SMALLINT", "Reservierer VARCHAR(30)"}},
        {"Kennzahlen",
         {"Nachkommastellen INTEGER", "Beleg BOOLEAN", "Firmenname VARCHAR(60)", "Strasse VARCHAR(60)",
          "PLZOrt VARCHAR(60)", "Telefon VARCHAR(40)", "Belegid INTEGER", "Beleganzahl INTEGER",
          "Belegdruck INTEGER", "Lichtschaltung BOOLEAN", "ComPort INTEGER", "Wartezeit INTEGER"}},
        {"Preisprofil",
         {"Stundenindex INTEGER not null key", "Stunde VARCHAR(20)", "Stunde_e VARCHAR(30)",
          "Sonntag INTEGER", "Montag INTEGER", "Dienstag INTEGER", "Mittwoch INTEGER", "Donnerstag INTEGER",
          "Freitag INTEGER", "Samstag INTEGER"}},
        // INT, not INTEGER: SQLite would number a member given no number instead of refusing it.
        {"Mitglieder",
         {"Mitgliedsnummer INT not null key", "Nachname VARCHAR(30)", "Vorname VARCHAR(30)",
          "Ort VARCHAR(30)", "PLZ VARCHAR(15)", "Strasse VARCHAR(30)", "Hausnummer VARCHAR(15)",
          "Telefon VARCHAR(20)", "Eintritt REAL", "Austritt REAL", "Geburtsdatum REAL", "Rabatt DOUBLE",
          "Sonstiges VARCHAR(100)"}},
        {"Monatsrabatt", {"Mitglied INTEGER", "Monat INTEGER", "Rabatt DOUBLE"}},
        {"Namen", {"Name VARCHAR(30) not null key", "Telefonnummer VARCHAR(20)"}},
        {"Rechte",
         [] {
             QStringList fields{"Benutzer VARCHAR(30)", "Passwort VARCHAR(30)", "Type VARCHAR(20)",
                                "Login BOOLEAN"};
             for (const QString& right : rightFields)
                 fields << right + " BOOLEAN";
             return fields;
         }()},
        {"Aktivitaet",
         {"Aufzeichnung REAL", "Datum REAL", "Platz INTEGER", "Reservierer VARCHAR(30)",
          "Startzeit VARCHAR(10)", "Laufzeit INTEGER"}},
        {"Kartenleser", {"Aktiv BOOLEAN", "FuerMitglieder BOOLEAN", "FuerAngestellte BOOLEAN"}},
        {"Schaltplan", {"Anschluss INTEGER not null key", "Bezeichnung VARCHAR(30)", "Gruppen INTEGER"}},
        {"Länder", {"Land VARCHAR(40)", "Währung VARCHAR(6)"}},
        {"Inventar",
         {"Inventar_id INTEGER", "Name VARCHAR(40)", "Kategorie VARCHAR(30)", "Datum REAL",
          "Lagerbestand NUMERIC", "Wert NUMERIC", "Beschreibung TEXT"}},
    };
    const QMap<QString, QStringList> expectedIndexes{
        {"Reservierung",
         {"Reservierung_Belegung: Datum,Platz,Stunde,Viertelstunde,Reservierungsnummer,Bezahlt",
          "Reservierung_Nummer: Reservierungsnummer,Datum,Stunde,Viertelstunde",
          "Reservierung_Platz: Platz,Datum",
          "Reservierung_Viertelstunde unique: Datum,Platz,Stunde,Viertelstunde"}},
        {"Tischabrechnung",
         {"Tischabrechnung_Datum: Abrechnungsdatum", "Tischabrechnung_Folge: Abrechnungsfolge",
          "Tischabrechnung_Offen: Abgerechnet"}},
        {"Mitglieder", {"Zuname: Nachname"}},
        {"Monatsrabatt", {"Monatsrabatt_Mitglied: Mitglied"}},
        {"Aktivitaet", {"Aktivitaet_Aufzeichnung: Aufzeichnung"}},
        {"Inventar", {"si_kategorie: Kategorie", "si_name: Name", "si_nummer: Inventar_id"}},
    };
    const QMap<QString, QString> serverTypes{
        {"SMALLINT", "smallint"},     {"INTEGER", "integer"},
        {"INT", "integer"},           {"DOUBLE", "double precision"},
        {"REAL", "double precision"}, {"BOOLEAN", "boolean"},
        {"NUMERIC", "numeric"},       {"TEXT", "text"},
    };
    static const QRegularExpression field(
        QStringLiteral("^(.+?) ([A-Z]+)(?:\\((\\d+)\\))?((?: not null)?(?: key)?)$"));

    QStringList tables = db.tables();
    tables.sort();
    QStringList names;
    for (const QString& table : expected.keys())
        names << nameOn(engine, table);
    names.sort();
    QCOMPARE(tables, names);
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        QStringList wanted;
        QStringList wantedNames;
        for (const QString& f : it.value()) {
            const auto m = field.match(f);
            QVERIFY2(m.hasMatch(), qPrintable(f));
            wantedNames << nameOn(engine, m.captured(1));
            if (engine == Engine::SQLite) {
                wanted << f;
                continue;
            }
            const QString type = m.captured(2) == "VARCHAR" ? "character varying(" + m.captured(3) + ")"
                                                            : serverTypes.value(m.captured(2));
            wanted << serverName(m.captured(1)) + ' ' + type + m.captured(4);
        }
        // On the server every table ends with the row identity that record sets update by.
        if (engine == Engine::PostgreSQL) {
            wanted << "rowid bigint not null";
            wantedNames << "rowid";
        }
        QCOMPARE(columns(engine, db, it.key()), wanted); // also the positions that billing reads by

        const QSqlRecord record =
            db.record(engine == Engine::SQLite ? it.key() : '"' + serverName(it.key()) + '"');
        QStringList recorded;
        for (int i = 0; i < record.count(); ++i)
            recorded << record.fieldName(i);
        QCOMPARE(recorded, wantedNames);

        QStringList wantedIndexes;
        for (const QString& index : expectedIndexes.value(it.key())) {
            if (engine == Engine::SQLite) {
                wantedIndexes << index;
                continue;
            }
            const QString columnsOf = index.section(": ", 1);
            QStringList serverColumns;
            for (const QString& c : columnsOf.split(','))
                serverColumns << serverName(c);
            wantedIndexes << serverName(index.section(": ", 0, 0).section(' ', 0, 0)) +
                                 (index.contains(" unique:") ? " unique" : "") + ": " +
                                 serverColumns.join(',');
        }
        if (engine == Engine::PostgreSQL)
            wantedIndexes << serverName(it.key()) + "_rowid_key unique: rowid";
        wantedIndexes.sort();
        QCOMPARE(indexes(engine, db, it.key()), wantedIndexes);
    }
}

void TestInstaller::sameChecksOnBothEngines()
{
    REQUIRE_ENGINE(Engine::PostgreSQL);
    QSqlDatabase file = database(Engine::SQLite);
    QSqlDatabase onServer = database(Engine::PostgreSQL);
    int named = 0;
    for (const QString& table : file.tables()) {
        // The server's types refuse what is no number by themselves; every other check is on both.
        QStringList wanted;
        for (const QString& check : checks(Engine::SQLite, file, table))
            if (!check.endsWith(" holds numbers only"))
                wanted << check;
        named += wanted.size();
        QCOMPARE(checks(Engine::PostgreSQL, onServer, table), wanted);
    }
    QCOMPARE(named, 32);
}

void TestInstaller::installedRows_data()
{
    engines();
}

void TestInstaller::installedRows()
{
    QFETCH(Engine, engine);
    REQUIRE_ENGINE(engine);
    QSqlDatabase db = database(engine);
    QSqlQuery q = select(db, "select Nachkommastellen, Belegid, Beleganzahl, Belegdruck, Lichtschaltung, "
                             "ComPort, Wartezeit, Firmenname from Kennzahlen");
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), 2);
    QCOMPARE(q.value(1).toInt(), 0);
    QCOMPARE(q.value(2).toInt(), 1);
    QCOMPARE(q.value(3).toInt(), 1);
    QCOMPARE(q.value(4).toInt(), 1); // the demo switches its lights through relaysim
    QCOMPARE(q.value(5).toInt(), 0);
    QCOMPARE(q.value(6).toInt(), 10);
    QVERIFY(!q.value(7).toString().isEmpty());
    QVERIFY(!q.next());

    QCOMPARE(count(db, "select count(*) from Kennzahlen"), 1);
    // The demo reads member and employee cards through scardsim, which the run command provides.
    QCOMPARE(count(db, "select count(*) from Kartenleser where Aktiv and FuerMitglieder and FuerAngestellte"),
             1);
    QCOMPARE(count(db, "select count(*) from Kartenleser"), 1);
    QCOMPARE(count(db, "select count(distinct Stundenindex) from Preisprofil where Stundenindex "
                       "between 1 and 24 and "
                       "Sonntag = 100 and Montag = 100 and Dienstag = 100 and Mittwoch = 100 and "
                       "Donnerstag = 100 and "
                       "Freitag = 100 and Samstag = 100 and Stunde_e <> ''"),
             24);
    QCOMPARE(count(db, "select count(*) from Schaltplan where Anschluss between 1 and 40 and Gruppen = 0"),
             40);
    QCOMPARE(count(db, "select count(*) from Rechte where Type = 'Administrator' and Login = false"), 1);
    QStringList allRights;
    for (const QString& r : rightFields)
        allRights << r + " = true";
    QCOMPARE(
        count(db, "select count(*) from Rechte where Type = 'Administrator' and " + allRights.join(" and ")),
        1);
    QVERIFY(count(db, "select count(*) from Rechte where Type <> 'Administrator'") >= 2);
    QVERIFY(count(db, "select count(*) from \"Länder\" where length(\"Währung\") between 1 and 6") >= 20);
    QCOMPARE(count(db, "select count(*) from Tischfarben where (TypNr = 1 and Tischtyp = 'Tennis' and "
                       "Tischbild = 1) or "
                       "(TypNr = 2 and Tischtyp = 'Squash' and Tischbild = 2)"),
             2);
    // Pure red and pure yellow belong to the court plan's markers.
    QCOMPARE(count(db, "select count(*) from Tischfarben where Tischfarbe in (255, 65535) or "
                       "Stundenpreis <= 0"),
             0);
    QVERIFY(QDir(hallOf(engine) + "/Backup").exists());
}

void TestInstaller::demoRowsAroundToday_data()
{
    engines();
}

void TestInstaller::demoRowsAroundToday()
{
    QFETCH(Engine, engine);
    REQUIRE_ENGINE(engine);
    QSqlDatabase db = database(engine);
    const int today = DayCount::today();
    QCOMPARE(count(db, "select count(*) from Tische"), 8);
    QCOMPARE(count(db, "select count(*) from Mitglieder"), 12);
    QVERIFY(count(db, "select count(*) from Reservierung where Datum = ?", {today}) > 0);
    QVERIFY(count(db, "select count(*) from Reservierung where Bezahlt") > 0);
    QVERIFY(count(db, "select count(*) from Reservierung where not Bezahlt") > 0);
    QVERIFY(count(db, "select count(*) from (select Reservierungsnummer from Reservierung group by "
                      "Reservierungsnummer "
                      "having count(distinct Platz) > 1) numbers") >= 1);
    QVERIFY(count(db, "select count(*) from Tischabrechnung where Abgerechnet") > 0);
    // Every bill line belongs to a paid court reservation, at most one per court and booking.
    QCOMPARE(count(db, "select count(*) from Reservierung r where Platz not in (select Tischnummer "
                       "from Tische)"),
             0);
    // No slot is booked twice.
    QCOMPARE(count(db, "select count(*) from (select 1 from Reservierung group by Datum, Platz, "
                       "Stunde, Viertelstunde "
                       "having count(*) > 1) twice"),
             0);
}

// The same installation made at the same moment holds the same rows on both engines.
void TestInstaller::sameRowsOnBothEngines()
{
    REQUIRE_ENGINE(Engine::PostgreSQL);
    const int today = 46000;                // a Wednesday
    const double now = today + 18.5 / 24.0; // half past six in the evening
    TestDatabase onServerDatabase;
    QVERIFY2(onServerDatabase.isValid(), qPrintable(onServerDatabase.failure()));
    QStringList failures;
    for (const Engine engine : {Engine::SQLite, Engine::PostgreSQL}) {
        Installer::Options options;
        options.directory = dir.filePath(QStringLiteral("same_") + engineName(engine));
        options.server = engine == Engine::PostgreSQL ? onServerDatabase.connectionString() : QString();
        options.demo = true;
        options.today = today;
        options.now = now;
        failures << Installer::install(options);
    }
    QCOMPARE(failures, QStringList({QString(), QString()}));
    {
        QSqlDatabase file =
            open(Engine::SQLite, "same_sqlite", dir.filePath("same_sqlite/Tables/Tennistables.sqlite"));
        QSqlDatabase onServer =
            open(Engine::PostgreSQL, "same_postgresql", onServerDatabase.connectionString());
        int total = 0;
        for (const QString& table : file.tables()) {
            const QStringList held = rows(file, tableReference(table));
            total += held.size();
            QCOMPARE(rows(onServer, tableReference(table)), held);
        }
        QVERIFY(total > 200);
        // Logical fields are stored as each engine's own: 0 and 1 in SQLite, booleans on the server.
        QCOMPARE(count(file, "select count(*) from Reservierung where typeof(Bezahlt) <> 'integer'"), 0);
        QVERIFY(count(file, "select count(*) from Reservierung where Bezahlt = 1") > 0);
        QCOMPARE(count(onServer, "select count(*) from Reservierung where Bezahlt is true"),
                 count(file, "select count(*) from Reservierung where Bezahlt = 1"));
    }
    close("same_sqlite");
    close("same_postgresql");
}

void TestInstaller::quarterBookedOnce_data()
{
    engines();
}

// Two desks that both read a quarter as free and save it: the second is refused by the table
// itself, and neither of its rows stands.
void TestInstaller::quarterBookedOnce()
{
    QFETCH(Engine, engine);
    REQUIRE_ENGINE(engine);
    const QString where = engine == Engine::SQLite ? hallOf(engine) + "/Tables/Tennistables.sqlite"
                                                   : server->connectionString();
    const int day = DayCount::today() + 1000;
    const QString insert =
        "insert into Reservierung (Reservierungsnummer, Datum, Stunde, Viertelstunde, Platz, "
        "Reservierer, Mitgliedsnummer, Prozente, Bezahlt) values (?, ?, ?, ?, ?, ?, -17, 0, ?)";
    {
        QSqlDatabase first = open(engine, connectionName(engine, "desk1"), where);
        QSqlDatabase second = open(engine, connectionName(engine, "desk2"), where);
        // Whatever fails below, the hall that the other cases read stays as installed.
        const auto restore = qScopeGuard([&] {
            second.rollback();
            select(first, "delete from Reservierung where Datum >= ?", {day});
        });
        const QString quarter =
            "select count(*) from Reservierung where Datum = ? and Platz = 3 and Stunde = 19 "
            "and Viertelstunde = 2";
        QCOMPARE(count(first, quarter, {day}), 0);
        QCOMPARE(count(second, quarter, {day}), 0);

        QSqlQuery booked(first);
        QVERIFY(booked.prepare(insert));
        QVERIFY2(write(booked, {901, day, 19, 2, 3, "First desk", false}),
                 qPrintable(booked.lastError().text()));

        // The second desk's booking: a free quarter first, then the one just taken.
        QVERIFY(second.transaction());
        QSqlQuery again(second);
        QVERIFY(again.prepare(insert));
        QVERIFY2(write(again, {902, day, 19, 1, 3, "Second desk", false}),
                 qPrintable(again.lastError().text()));
        QVERIFY(!write(again, {902, day, 19, 2, 3, "Second desk", false}));
        QVERIFY2(again.lastError().text().contains(engine == Engine::SQLite ? "UNIQUE constraint failed"
                                                                            : "reservierung_viertelstunde"),
                 qPrintable(again.lastError().text()));
        QVERIFY(second.rollback());

        QCOMPARE(count(first, "select count(*) from Reservierung where Datum = ?", {day}), 1);
        QCOMPARE(count(second, "select count(*) from Reservierung where Reservierer = 'Second desk'"), 0);
        // The same quarter of another court and of another day are free to book.
        QSqlQuery other(second);
        QVERIFY(other.prepare(insert));
        QVERIFY2(write(other, {903, day, 19, 2, 4, "Second desk", false}),
                 qPrintable(other.lastError().text()));
        QVERIFY2(write(other, {904, day + 1, 19, 2, 3, "Second desk", false}),
                 qPrintable(other.lastError().text()));
        QCOMPARE(count(first, "select count(*) from Reservierung where Datum >= ?", {day}), 3);
    }
    close(connectionName(engine, "desk1"));
    close(connectionName(engine, "desk2"));
}

void TestInstaller::checksRefuseBadValues_data()
{
    QTest::addColumn<Engine>("engine");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("insert");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<QString>("sqliteSays");
    QTest::addColumn<QString>("serverSays");
    struct Case {
        const char* name;
        const char* table;
        const char* insert;
        QVariantList values;
        const char* sqliteSays;
        const char* serverSays;
    };
    const Case cases[] = {
        {"text too long",
         "Namen",
         "insert into Namen (Name, Telefonnummer) values (?, ?)",
         {QString(31, 'x'), "1"},
         "Name holds at most 30 characters",
         "too long"},
        {"quoted text too long",
         "Länder",
         "insert into \"Länder\" (Land, \"Währung\") values (?, ?)",
         {"Ruritania", "RURITA$"},
         "Währung holds at most 6 characters",
         "too long"},
        {"required text empty",
         "Namen",
         "insert into Namen (Name, Telefonnummer) values (?, ?)",
         {"", "1"},
         "Name must have a value",
         "Name must have a value"},
        {"required text missing",
         "Tischfarben",
         "insert into Tischfarben (TypNr, Stundenpreis) values (?, ?)",
         {9, 12.0},
         "NOT NULL constraint failed: Tischfarben.Tischtyp",
         "\"tischtyp\""},
        {"member without number",
         "Mitglieder",
         "insert into Mitglieder (Nachname) values (?)",
         {"Nobody"},
         "NOT NULL constraint failed: Mitglieder.Mitgliedsnummer",
         "\"mitgliedsnummer\""},
        {"member number of eight digits",
         "Mitglieder",
         "insert into Mitglieder (Mitgliedsnummer) values (?)",
         {10000000},
         "Mitgliedsnummer has at most 7 digits",
         "Mitgliedsnummer has at most 7 digits"},
        {"number holds a dash",
         "Mitglieder",
         "insert into Mitglieder (Mitgliedsnummer, Rabatt) values (?, ?)",
         {4711, "-"},
         "Rabatt holds numbers only",
         "double precision"},
        {"quoted number holds a word",
         "Tische",
         "insert into Tische (Tischnummer, \"Summe Laufzeit\") values (?, ?)",
         {11, "long"},
         "Summe Laufzeit holds numbers only",
         "integer"},
        {"logical holds a word",
         "Reservierung",
         "insert into Reservierung (Reservierungsnummer, Bezahlt) values (?, ?)",
         {905, "maybe"},
         "Bezahlt holds numbers only",
         "boolean"},
        {"key taken",
         "Schaltplan",
         "insert into Schaltplan (Anschluss, Bezeichnung, Gruppen) values (?, ?, ?)",
         {1, "Again", 0},
         "UNIQUE constraint failed: Schaltplan.Anschluss",
         "schaltplan_pkey"},
    };
    for (const Engine engine : {Engine::SQLite, Engine::PostgreSQL})
        for (const Case& c : cases)
            QTest::addRow("%s: %s", engineName(engine), c.name)
                << engine << QString::fromUtf8(c.table) << QString::fromUtf8(c.insert) << c.values
                << QString::fromUtf8(c.sqliteSays) << QString::fromUtf8(c.serverSays);
}

void TestInstaller::checksRefuseBadValues()
{
    QFETCH(Engine, engine);
    QFETCH(QString, table);
    QFETCH(QString, insert);
    QFETCH(QVariantList, values);
    QFETCH(QString, sqliteSays);
    QFETCH(QString, serverSays);
    REQUIRE_ENGINE(engine);
    QSqlDatabase db = database(engine);
    const QStringList before = rows(db, tableReference(table));
    QSqlQuery query(db);
    QVERIFY(query.prepare(insert));
    QVERIFY(!write(query, values));
    const QString said = query.lastError().text();
    QVERIFY2(said.contains(engine == Engine::SQLite ? sqliteSays : serverSays), qPrintable(said));
    QCOMPARE(rows(db, tableReference(table)), before);
}

void TestInstaller::registryNamesTheDirectory_data()
{
    engines();
}

void TestInstaller::registryNamesTheDirectory()
{
    QFETCH(Engine, engine);
    REQUIRE_ENGINE(engine);
    const QString hall = hallOf(engine);
    QSettings settings(registryOf(engine), QSettings::IniFormat);
    QCOMPARE(settings.childGroups(), QStringList{"Vantrell"});
    QCOMPARE(settings.value("Vantrell/Installdirectory").toString(), QFileInfo(hall).absoluteFilePath());
    QVERIFY(QDir(hall + "/Backup").exists());
    if (engine == Engine::SQLite) {
        // A single desk's registry stays as it always was: its tables are found under the directory.
        QVERIFY(!settings.contains("Vantrell/Datenbank"));
        QFile raw(registryOf(engine));
        QVERIFY(raw.open(QIODevice::ReadOnly));
        const QByteArray text = raw.readAll();
        QVERIFY2(text.contains("[Vantrell]") && text.contains("Installdirectory=" + hall.toUtf8()),
                 text.constData());
    } else {
        QCOMPARE(settings.value("Vantrell/Datenbank").toString(), "postgresql:" + server->connectionString());
        QVERIFY(!QFileInfo::exists(hall + "/Tables"));
    }
}

void TestInstaller::refusesToOverwrite()
{
    const QString hall = hallOf(Engine::SQLite);
    const QString file = hall + "/Tables/Tennistables.sqlite";
    const QByteArray before = digest(file);
    const QDateTime modified = QFileInfo(file).lastModified();
    const QString otherRegistry = dir.filePath("other.ini");
    const Run again = install(otherRegistry, {"--dir", hall, "--demo"});
    QVERIFY(again.exitCode != 0);
    QVERIFY2(again.stderrText.contains("already exists"), qPrintable(again.stderrText));
    QCOMPARE(digest(file), before);
    QCOMPARE(QFileInfo(file).lastModified(), modified);
    QVERIFY(!QFile::exists(otherRegistry)); // nothing was written anywhere
}

void TestInstaller::refusedServerDatabaseStaysAsItWas_data()
{
    QTest::addColumn<QString>("made"); // what another hand made on a new database; empty: the installation
    QTest::addColumn<QString>("said");
    QTest::addColumn<QString>("names"); // what the message names
    QTest::newRow("an installation") << QString() << "already holds the tables of Courtoria"
                                     << "reservierung";
    QTest::newRow("one table under another case") << "create table \"NAMEN\" (wer text)"
                                                  << "already holds the tables of Courtoria"
                                                  << "NAMEN";
    // Refused by the server only when the tables before the members' index stand already.
    QTest::newRow("the name of an index") << "create table zuname (wer text)"
                                          << "already exists"
                                          << "zuname";
}

// A server database that holds the tables already, only one of them under another case of its name,
// or anything else that makes the installation fail midway, is left exactly as it was: no table,
// index or row stays, and no directory and no registry is written.
void TestInstaller::refusedServerDatabaseStaysAsItWas()
{
    QFETCH(QString, made);
    QFETCH(QString, said);
    QFETCH(QString, names);
    REQUIRE_ENGINE(Engine::PostgreSQL);
    TestDatabase other;
    QString conninfo = server->connectionString();
    if (!made.isEmpty()) {
        QVERIFY2(other.isValid(), qPrintable(other.failure()));
        conninfo = other.connectionString();
        {
            QSqlDatabase db = open(Engine::PostgreSQL, "other_hand", conninfo);
            QVERIFY(QSqlQuery(db).exec(made));
            QVERIFY(QSqlQuery(db).exec("insert into " + made.section(' ', 2, 2) + " values ('somebody')"));
        }
        close("other_hand");
    }
    QStringList before;
    {
        QSqlDatabase db = open(Engine::PostgreSQL, "before", conninfo);
        before = fingerprint(Engine::PostgreSQL, db);
    }
    close("before");
    QVERIFY(before.size() >= 2);

    const QString hall = dir.filePath("second_hall");
    const QString registry = dir.filePath("second.ini");
    const Run again = install(registry, {"--dir", hall, "--server", conninfo, "--demo"});
    QCOMPARE(again.exitCode, 1);
    QVERIFY2(again.stderrText.contains(said) && again.stderrText.contains(names),
             qPrintable(again.stderrText));
    {
        QSqlDatabase db = open(Engine::PostgreSQL, "after", conninfo);
        QCOMPARE(fingerprint(Engine::PostgreSQL, db), before);
    }
    close("after");
    QVERIFY(!QFile::exists(registry));
    QVERIFY(!QFileInfo::exists(hall));
}

void TestInstaller::unreachableServerSaysSo_data()
{
    QTest::addColumn<bool>("onServer");
    QTest::addColumn<QString>("database");
    QTest::addColumn<QString>("words");
    // A socket folder where no server listens; libpq's own words name the socket it tried.
    QTest::newRow("no server") << false << "hall"
                               << "No such file or directory";
    QTest::newRow("no such database") << true << "no_such_hall"
                                      << "database \"no_such_hall\" does not exist";
}

void TestInstaller::unreachableServerSaysSo()
{
    QFETCH(bool, onServer);
    QFETCH(QString, database);
    QFETCH(QString, words);
    if (onServer)
        REQUIRE_ENGINE(Engine::PostgreSQL);
    const QString nowhere = dir.filePath("nowhere");
    QVERIFY(QDir().mkpath(nowhere));
    const QString registry = dir.filePath("unreachable.ini");
    const QString hall = dir.filePath("unreachable_hall");
    const QString conninfo =
        (onServer ? TestDatabase::server() : "host=" + nowhere + " user=courtoria") + " dbname=" + database;
    const Run run = install(registry, {"--dir", hall, "--server", conninfo});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.stderrText.contains("Cannot connect to the database server") &&
                 run.stderrText.contains(
                     onServer ? TestDatabase::server().section("host=", 1).section(' ', 0, 0) : nowhere) &&
                 run.stderrText.contains(words),
             qPrintable(run.stderrText));
    QVERIFY(!QFile::exists(registry));
    QVERIFY(!QFileInfo::exists(hall));
}

void TestInstaller::silentServerEndsAtTimeout_data()
{
    QTest::addColumn<QString>("timeout");
    QTest::addColumn<int>("atLeast");
    QTest::addColumn<int>("atMost");
    QTest::newRow("five seconds unless told") << QString() << 4500 << 15000;
    QTest::newRow("the string's own") << QStringLiteral(" connect_timeout=2") << 0 << 4500;
}

// A server that takes the connection and never answers ends the run after the timeout instead of
// keeping it waiting for ever; a string that names its own timeout keeps it.
void TestInstaller::silentServerEndsAtTimeout()
{
    QFETCH(QString, timeout);
    QFETCH(int, atLeast);
    QFETCH(int, atMost);
    QTemporaryDir folder;
    SilentPort silent;
    QVERIFY(silent.port() > 0);
    const QString registry = folder.filePath("registry.ini");
    QElapsedTimer clock;
    clock.start();
    const Run run = install(
        registry,
        {"--dir", folder.filePath("hall"), "--server",
         QStringLiteral("host=127.0.0.1 port=%1 user=courtoria dbname=hall").arg(silent.port()) + timeout});
    const qint64 took = clock.elapsed();
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.stderrText.contains("Cannot connect to the database server") &&
                 run.stderrText.contains("timeout"),
             qPrintable(run.stderrText));
    QVERIFY2(took >= atLeast && took <= atMost, qPrintable(QString::number(took)));
    QVERIFY(!QFile::exists(registry));
}

void TestInstaller::passwordNeverReachesRegistry()
{
    const QString registry = dir.filePath("password.ini");
    const QString hall = dir.filePath("password_hall");
    const Run run =
        install(registry, {"--dir", hall, "--server", "host=/nowhere user=courtoria password=secret"});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.stderrText.contains("password file"), qPrintable(run.stderrText));
    QVERIFY(!QFile::exists(registry));
    QVERIFY(!QFileInfo::exists(hall));
}

void TestInstaller::testInstallationOnEither_data()
{
    engines();
}

// The installation the other tests stand on: the store reaches its tables on the engine asked for,
// and a database on the server is gone with it.
void TestInstaller::testInstallationOnEither()
{
    QFETCH(Engine, engine);
    REQUIRE_ENGINE(engine);
    QString name;
    {
        TestInstallation installation(engine, true, 46000, 46000.75);
        QVERIFY2(installation.isValid(), qPrintable(installation.failure()));
        QCOMPARE(installation.engine(), engine);
        QCOMPARE(Store::database().driverName(), QLatin1String(dialect(engine).driver));
        QCOMPARE(TestInstallation::scalar("select count(*) from Preisprofil").toInt(), 24);
        QCOMPARE(TestInstallation::scalar("select count(*) from Tische").toInt(), 8);
        QCOMPARE(QFileInfo::exists(installation.databaseFile()), engine == Engine::SQLite);
        name = installation.connectionString().section("dbname=", 1).section(' ', 0, 0);
        QCOMPARE(name.isEmpty(), engine == Engine::SQLite);
    }
    if (engine == Engine::PostgreSQL) {
        {
            QSqlDatabase db = open(engine, "maintenance", TestDatabase::server() + " dbname=postgres");
            QCOMPARE(count(db, "select count(*) from pg_database where datname = ?", {name}), 0);
        }
        close("maintenance");
    }
}

void TestInstaller::refusesIncompleteCommand_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("said");
    QTest::newRow("no directory") << QStringList{"--demo"} << "--dir";
    QTest::newRow("an empty connection string")
        << QStringList{"--dir", dir.filePath("empty_server_hall"), "--server", " "} << "--server";
}

void TestInstaller::refusesIncompleteCommand()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, said);
    const QString registry = dir.filePath("none.ini");
    const Run run = install(registry, arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.stderrText.contains(said), qPrintable(run.stderrText));
    QVERIFY(!QFile::exists(registry));
    QVERIFY(!QFileInfo::exists(dir.filePath("empty_server_hall")));
}

QTEST_GUILESS_MAIN(TestInstaller)
#include "tst_installer.moc"
