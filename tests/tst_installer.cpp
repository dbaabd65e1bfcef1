#include "data/daycount.h"
#include "data/rights.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

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
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardError())};
}

QByteArray digest(const QString& file)
{
    QFile f(file);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

} // namespace

class TestInstaller : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void tablesAndFields();
    void installedRows();
    void demoRowsAroundToday();
    void registryNamesTheDirectory();
    void refusesToOverwrite();
    void refusesWithoutDirectory();

private:
    QTemporaryDir dir;
    QString hall;
    QString registry;
    QSqlDatabase db;
};

void TestInstaller::initTestCase()
{
    hall = dir.filePath("hall");
    registry = dir.filePath("registry.ini");
    QFile(registry).open(QIODevice::WriteOnly); // an empty registry file
    const Run run = install(registry, {"--dir", hall, "--demo"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.stderrText));
    db = QSqlDatabase::addDatabase("QSQLITE", "check");
    db.setDatabaseName(hall + "/Tables/Tennistables.sqlite");
    QVERIFY(db.open());
}

void TestInstaller::cleanupTestCase()
{
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase("check");
}

void TestInstaller::tablesAndFields()
{
    const QMap<QString, QStringList> expected{
        {"Tische",
         {"Tischnummer", "Aktiv", "Startzeit", "Stopzeit", "Summe Laufzeit", "XPosition", "YPosition",
          "TypNr", "Abrechnungsart", "Anschluss"}},
        {"Tischfarben", {"TypNr", "Tischtyp", "Stundenpreis", "Tischfarbe", "Tischbild"}},
        {"Reservierung",
         {"Reservierungsnummer", "Datum", "Stunde", "Viertelstunde", "Platz", "Reservierer",
          "Mitgliedsnummer", "Prozente", "Bezahlt"}},
        {"Tischabrechnung",
         {"Tischnummer", "Einschreibdatum", "Betrag", "DrinksundSnacks", "Abgerechnet", "Abrechnungsfolge",
          "Abrechnungsdatum", "Startzeit", "Quaters", "Reservierer"}},
        {"Kennzahlen",
         {"Nachkommastellen", "Beleg", "Firmenname", "Strasse", "PLZOrt", "Telefon", "Belegid", "Beleganzahl",
          "Belegdruck", "Lichtschaltung", "ComPort", "Wartezeit"}},
        {"Preisprofil",
         {"Stundenindex", "Stunde", "Stunde_e", "Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag",
          "Freitag", "Samstag"}},
        {"Mitglieder",
         {"Mitgliedsnummer", "Nachname", "Vorname", "Ort", "PLZ", "Strasse", "Hausnummer", "Telefon",
          "Eintritt", "Austritt", "Geburtsdatum", "Rabatt", "Sonstiges"}},
        {"Monatsrabatt", {"Mitglied"}},
        {"Namen", {"Name", "Telefonnummer"}},
        {"Rechte", QStringList{"Benutzer", "Passwort", "Type", "Login"} +
                       QStringList(rightFields.begin(), rightFields.end())},
        {"Aktivitaet", {"Aufzeichnung", "Datum", "Platz", "Reservierer", "Startzeit", "Laufzeit"}},
        {"Kartenleser", {"Aktiv", "FuerMitglieder", "FuerAngestellte"}},
        {"Schaltplan", {"Anschluss", "Bezeichnung", "Gruppen"}},
        {"Länder", {"Land", "Währung"}},
        {"Inventar", {"Inventar_id", "Name", "Kategorie", "Datum", "Lagerbestand", "Wert", "Beschreibung"}},
    };
    QStringList tables = db.tables();
    tables.sort();
    QStringList names = expected.keys();
    names.sort();
    QCOMPARE(tables, names);
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        const QSqlRecord record = db.record(it.key());
        QStringList fields;
        for (int i = 0; i < record.count(); ++i)
            fields << record.fieldName(i);
        if (it.key() == "Monatsrabatt")
            QVERIFY(fields.contains("Mitglied"));
        else
            QCOMPARE(fields, it.value()); // also the positions that billing reads by
    }
    QSqlQuery indexes(db);
    QVERIFY(indexes.exec("select name from sqlite_master where type = 'index'"));
    QStringList indexNames;
    while (indexes.next())
        indexNames << indexes.value(0).toString();
    for (const char* name : {"Zuname", "si_name", "si_kategorie", "si_nummer"})
        QVERIFY2(indexNames.contains(name), name);
}

void TestInstaller::installedRows()
{
    QSqlQuery q(db);
    QVERIFY(q.exec("select Nachkommastellen, Belegid, Beleganzahl, Belegdruck, Lichtschaltung, "
                   "ComPort, Wartezeit, "
                   "Firmenname from Kennzahlen"));
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

    const auto count = [this](const QString& sql) {
        QSqlQuery c(db);
        c.exec(sql);
        c.next();
        return c.value(0).toInt();
    };
    QCOMPARE(count("select count(*) from Kennzahlen"), 1);
    // The demo reads member and employee cards through scardsim, which the run command provides.
    QCOMPARE(count("select count(*) from Kartenleser where Aktiv and FuerMitglieder and FuerAngestellte"), 1);
    QCOMPARE(count("select count(*) from Kartenleser"), 1);
    QCOMPARE(count("select count(distinct Stundenindex) from Preisprofil where Stundenindex "
                   "between 1 and 24 and "
                   "Sonntag = 100 and Montag = 100 and Dienstag = 100 and Mittwoch = 100 and "
                   "Donnerstag = 100 and "
                   "Freitag = 100 and Samstag = 100 and Stunde_e <> ''"),
             24);
    QCOMPARE(count("select count(*) from Schaltplan where Anschluss between 1 and 40 and Gruppen = 0"), 40);
    QCOMPARE(count("select count(*) from Rechte where Type = 'Administrator' and Login = false"), 1);
    QStringList allRights;
    for (const QString& r : rightFields)
        allRights << r + " = true";
    QCOMPARE(count("select count(*) from Rechte where Type = 'Administrator' and " + allRights.join(" and ")),
             1);
    QVERIFY(count("select count(*) from Rechte where Type <> 'Administrator'") >= 2);
    QVERIFY(count("select count(*) from \"Länder\" where length(\"Währung\") between 1 and 6") >= 20);
    QCOMPARE(count("select count(*) from Tischfarben where (TypNr = 1 and Tischtyp = 'Tennis' and "
                   "Tischbild = 1) or "
                   "(TypNr = 2 and Tischtyp = 'Squash' and Tischbild = 2)"),
             2);
    // Pure red and pure yellow belong to the court plan's markers.
    QCOMPARE(count("select count(*) from Tischfarben where Tischfarbe in (255, 65535) or "
                   "Stundenpreis <= 0"),
             0);
    QVERIFY(QDir(hall + "/Backup").exists());
}

void TestInstaller::demoRowsAroundToday()
{
    const auto count = [this](const QString& sql, const QVariantList& values = {}) {
        QSqlQuery c(db);
        c.prepare(sql);
        for (int i = 0; i < values.size(); ++i)
            c.bindValue(i, values[i]);
        c.exec();
        c.next();
        return c.value(0).toInt();
    };
    const int today = DayCount::today();
    QCOMPARE(count("select count(*) from Tische"), 8);
    QCOMPARE(count("select count(*) from Mitglieder"), 12);
    QVERIFY(count("select count(*) from Reservierung where Datum = ?", {today}) > 0);
    QVERIFY(count("select count(*) from Reservierung where Bezahlt") > 0);
    QVERIFY(count("select count(*) from Reservierung where not Bezahlt") > 0);
    QVERIFY(count("select count(*) from (select Reservierungsnummer from Reservierung group by "
                  "Reservierungsnummer "
                  "having count(distinct Platz) > 1)") >= 1);
    QVERIFY(count("select count(*) from Tischabrechnung where Abgerechnet") > 0);
    // Every bill line belongs to a paid court reservation, at most one per court and booking.
    QCOMPARE(count("select count(*) from Reservierung r where Platz not in (select Tischnummer "
                   "from Tische)"),
             0);
    // No slot is booked twice.
    QCOMPARE(count("select count(*) from (select 1 from Reservierung group by Datum, Platz, "
                   "Stunde, Viertelstunde "
                   "having count(*) > 1)"),
             0);
}

void TestInstaller::registryNamesTheDirectory()
{
    QSettings settings(registry, QSettings::IniFormat);
    QCOMPARE(settings.childGroups(), QStringList{"Vantrell"});
    QCOMPARE(settings.value("Vantrell/Installdirectory").toString(), QFileInfo(hall).absoluteFilePath());
    QFile raw(registry);
    QVERIFY(raw.open(QIODevice::ReadOnly));
    const QByteArray text = raw.readAll();
    QVERIFY2(text.contains("[Vantrell]") && text.contains("Installdirectory=" + hall.toUtf8()),
             text.constData());
}

void TestInstaller::refusesToOverwrite()
{
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

void TestInstaller::refusesWithoutDirectory()
{
    const Run run = install(dir.filePath("none.ini"), {"--demo"});
    QVERIFY(run.exitCode != 0);
    QVERIFY(run.stderrText.contains("--dir"));
}

QTEST_GUILESS_MAIN(TestInstaller)
#include "tst_installer.moc"
