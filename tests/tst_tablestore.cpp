#include "data/changes.h"
#include "data/daycount.h"
#include "data/displayformat.h"
#include "data/query.h"
#include "data/recordset.h"
#include "data/recordsetmodel.h"
#include "data/rowreader.h"
#include "data/session.h"
#include "data/store.h"
#include "platform/messages.h"
#include "platform/registry.h"
#include "racingdesk.h"
#include "testinstallation.h"
#include "testserver.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <future>
#include <limits>
#include <memory>
#include <thread>

Q_DECLARE_METATYPE(Engine)

class TestTableStore : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void tableInIndexOrderAndFindKey_data();
    void tableInIndexOrderAndFindKey();
    void namedSecondaryIndexOrder_data();
    void namedSecondaryIndexOrder();
    void fieldNamesWithoutCase_data();
    void fieldNamesWithoutCase();
    void emptyFieldsReadAsZero();
    void fieldByPosition();
    void appendEditDeleteOnTableWithoutKey_data();
    void appendEditDeleteOnTableWithoutKey();
    void refusedInsertIsSilent();
    void newRowDefaults();
    void scrollAndDeleteHooks();
    void liveQueryAppendsRows();
    void cancelDropsTheNewRow();
    void parameterUsedTwice();
    void apostropheMatchesLiterally();
    void storeErrorsCarryTheMessage_data();
    void storeErrorsCarryTheMessage();
    void transactionRollsBackUnlessCommitted();
    void modelEditsPostThroughTheSet();
    void missingDatabaseIsAnErrorNotAnEmptyFile();
    void keyEditThenSecondEditOfTheSameRow_data();
    void keyEditThenSecondEditOfTheSameRow();
    void writeThatReachesNoRowIsAnError_data();
    void writeThatReachesNoRowIsAnError();
    void tableRulesRefusePosting_data();
    void tableRulesRefusePosting();
    void otherProgramsMeetTheSameRules_data();
    void otherProgramsMeetTheSameRules();
    void numberTextsAreStoredAsNumbers();
    void emptiedFieldIsWrittenEmpty();
    void distinctResultOpensReadOnlyForAGrid();
    void liveSelectWithWhereAndOrder_data();
    void liveSelectWithWhereAndOrder();
    void failedPostInTheModelIsShownAndKeepsTheEdit();
    void moneyFormats_data();
    void moneyFormats();
    void momentTextsCarryNoTimeZone();
    void noInstallationDirectoryOpensNoStore_data();
    void noInstallationDirectoryOpensNoStore();
    void writeWaitsForAnotherWriter_data();
    void writeWaitsForAnotherWriter();
    void databaseValueChoosesTheStore_data();
    void databaseValueChoosesTheStore();
    void transactionsOnEitherEngine_data();
    void transactionsOnEitherEngine();
    void storeErrorsReadTheSameOnEitherEngine_data();
    void storeErrorsReadTheSameOnEitherEngine();
    void numbersOfOneKindAreDrawnOneDeskAfterTheOther_data();
    void numbersOfOneKindAreDrawnOneDeskAfterTheOther();
    void serviceFileNamesTheServer();
    void rowReaderReadsTheSameOnEitherEngine_data();
    void rowReaderReadsTheSameOnEitherEngine();
    void serverTextsReadAsSQLiteReadsThem_data();
    void serverTextsReadAsSQLiteReadsThem();
    void queryReadOnWhileOtherStatementsRun_data();
    void queryReadOnWhileOtherStatementsRun();
    void lostServerFailsTheActionAndTheNextReconnects_data();
    void lostServerFailsTheActionAndTheNextReconnects();
    void changesReachTheOtherDesksOnceCommitted();
    void otherDesksChangesAreHeardAndOwnAreNot();

private:
    // Puts the store of the current test on the engine of its row: init()'s demo installation on
    // SQLite, a fresh demo installation on the test server otherwise. False when the test was
    // skipped or failed.
    bool installOn(Engine engine);

    TestInstallation* installation = nullptr;
};

namespace {
void addEngineRows(const char* name);
}

#define INSTALL_ON(engine)                                                                                   \
    if (!installOn(engine))                                                                                  \
    return

bool TestTableStore::installOn(Engine engine)
{
    if (engine == Engine::SQLite)
        return true;
    if (!TestDatabase::serverAvailable()) {
        QTest::qSkip("no test server (COURTORIA_TEST_SERVER)", __FILE__, __LINE__);
        return false;
    }
    delete installation;
    installation = new TestInstallation(Engine::PostgreSQL, true);
    if (!installation->isValid()) {
        QTest::qFail(qPrintable(installation->failure()), __FILE__, __LINE__);
        return false;
    }
    return true;
}

void TestTableStore::init()
{
    installation = new TestInstallation(true);
    QVERIFY2(installation->isValid(), qPrintable(installation->failure()));
}

void TestTableStore::cleanup()
{
    delete installation;
    installation = nullptr;
}

void TestTableStore::tableInIndexOrderAndFindKey_data()
{
    QTest::addColumn<Engine>("engine");
    addEngineRows("courts");
}

void TestTableStore::tableInIndexOrderAndFindKey()
{
    QFETCH(Engine, engine);
    INSTALL_ON(engine);
    TestInstallation::exec("delete from Tische");
    for (int n : {7, 2, 11, 4})
        TestInstallation::exec("insert into Tische (Tischnummer, TypNr) values (?, 1)", {n});
    RecordSet courts;
    courts.openTable("Tische", "Tischnummer");
    QList<int> order;
    for (courts.first(); !courts.eof(); courts.next())
        order << courts.field("Tischnummer").asInteger();
    QCOMPARE(order, (QList<int>{2, 4, 7, 11}));
    QCOMPARE(courts.count(), 4);

    QVERIFY(courts.findKey(7));
    QCOMPARE(courts.field("TischNummer").asInteger(), 7);
    QVERIFY(!courts.findKey(5));
    QCOMPARE(courts.field("Tischnummer").asInteger(), 7); // a miss keeps the position

    courts.close();
    QVERIFY(!courts.isOpen());
    courts.openTable("Tische", "Tischnummer");
    QCOMPARE(courts.field("Tischnummer").asInteger(), 2); // opening again starts at the first row
}

void TestTableStore::namedSecondaryIndexOrder_data()
{
    QTest::addColumn<Engine>("engine");
    addEngineRows("members");
}

void TestTableStore::namedSecondaryIndexOrder()
{
    QFETCH(Engine, engine);
    INSTALL_ON(engine);
    RecordSet members;
    members.openTable("Mitglieder", "Zuname");
    QStringList names;
    for (; !members.eof(); members.next())
        names << members.field("Nachname").asString();
    QStringList sorted = names;
    std::sort(sorted.begin(), sorted.end());
    QCOMPARE(names, sorted);
    QCOMPARE(names.size(), 12);
    // An index of two fields orders by both, in the index's order of them.
    RecordSet bookings;
    bookings.openTable("Reservierung", "Reservierung_Platz");
    QVERIFY(bookings.count() > 1);
    QList<QPair<int, double>> keys;
    for (; !bookings.eof(); bookings.next())
        keys << qMakePair(bookings.field("Platz").asInteger(), bookings.field("Datum").asFloat());
    QVERIFY(std::is_sorted(keys.begin(), keys.end()));
    QVERIFY(keys.first().first < keys.last().first);
}

void TestTableStore::fieldNamesWithoutCase_data()
{
    QTest::addColumn<Engine>("engine");
    addEngineRows("court bills");
}

void TestTableStore::fieldNamesWithoutCase()
{
    QFETCH(Engine, engine);
    INSTALL_ON(engine);
    Query q("select abgerechnet from TISCHABRECHNUNG where ABGERECHNET = :p order by einschreibdatum");
    q.setParam("P", true);
    q.open();
    QVERIFY(!q.eof());
    QVERIFY(q.field("Abgerechnet").asBoolean());
    QVERIFY(q.field("abgerechnet").asBoolean());
    // The set's fields and their rules are found by any spelling, as the server reports them folded.
    RecordSet bills;
    bills.openQuery("select * from TischAbrechnung where Abgerechnet = :p", {{"p", true}});
    QVERIFY(!bills.isEmpty());
    QVERIFY(bills.field("ABGERECHNET").asBoolean());
    QCOMPARE(bills.fieldNumberKind("Abgerechnet"), RecordSet::NumberKind::Logical);
    QCOMPARE(bills.fieldNumberKind("TISCHNUMMER"), RecordSet::NumberKind::Whole);
    QCOMPARE(bills.fieldNumberKind("Betrag"), RecordSet::NumberKind::Decimal);
    QCOMPARE(bills.fieldSize("reservierer"), 30);
}

void TestTableStore::emptyFieldsReadAsZero()
{
    TestInstallation::exec("delete from Reservierung");
    Query max("select max(Reservierungsnummer) maxnummer from Reservierung");
    max.open();
    QVERIFY(!max.eof());
    QVERIFY(max.field("maxnummer").isEmpty());
    QCOMPARE(max.field("maxnummer").asInteger(), 0);
    QCOMPARE(max.field("maxnummer").asFloat(), 0.0);
    QCOMPARE(max.field("maxnummer").asString(), QString());
    QCOMPARE(max.field("maxnummer").asBoolean(), false);
    QCOMPARE(max.field("maxnummer").asDateTime(), 0.0);

    TestInstallation::exec("update Tische set Anschluss = null where Tischnummer = 3");
    RecordSet courts;
    courts.openTable("Tische", "Tischnummer");
    QVERIFY(courts.findKey(3));
    QVERIFY(courts.field("Anschluss").isEmpty());
    QVERIFY(courts.findKey(1));
    QVERIFY(!courts.field("Anschluss").isEmpty());
}

void TestTableStore::fieldByPosition()
{
    // Billing reads the weekday's percentage at position 2 + day of week (Sunday = 1).
    TestInstallation::exec("update Preisprofil set Sonntag = 50, Samstag = 70 where Stundenindex = 19");
    RecordSet profile;
    profile.openTable("Preisprofil", "Stundenindex");
    QVERIFY(profile.findKey(19));
    QCOMPARE(profile.fieldNames().mid(0, 4), (QStringList{"Stundenindex", "Stunde", "Stunde_e", "Sonntag"}));
    QCOMPARE(profile.field(2 + 1).asInteger(), 50);
    QCOMPARE(profile.field(2 + 7).asInteger(), 70);
    QCOMPARE(profile.field(2 + 2).asInteger(), 100);
}

void TestTableStore::appendEditDeleteOnTableWithoutKey_data()
{
    QTest::addColumn<Engine>("engine");
    addEngineRows("activity log");
}

void TestTableStore::appendEditDeleteOnTableWithoutKey()
{
    QFETCH(Engine, engine);
    INSTALL_ON(engine);
    // Aktivitaet has no key: rows are told apart by the store, not by their values.
    for (int i = 0; i < 3; ++i)
        TestInstallation::exec(
            "insert into Aktivitaet (Aufzeichnung, Platz, Reservierer) values (1, 1, 'same')");
    RecordSet log;
    log.openTable("Aktivitaet");
    QCOMPARE(log.count(), 3);
    log.moveTo(1);
    log.edit();
    log.setField("Reservierer", "changed");
    log.post();
    QCOMPARE(TestInstallation::scalar("select count(*) from Aktivitaet where Reservierer = 'same'").toInt(),
             2);
    log.moveTo(0);
    QVERIFY(log.remove());
    QCOMPARE(log.count(), 2);
    QCOMPARE(TestInstallation::scalar("select count(*) from Aktivitaet").toInt(), 2);
    QCOMPARE(
        TestInstallation::scalar("select count(*) from Aktivitaet where Reservierer = 'changed'").toInt(), 1);

    // Moving away from an edited row posts it.
    log.first();
    log.setField("Platz", 9);
    log.next();
    QCOMPARE(TestInstallation::scalar("select count(*) from Aktivitaet where Platz = 9").toInt(), 1);

    // A row appended takes its address from the store: editing and deleting it reach that row.
    QVERIFY(log.append());
    log.setField("Aufzeichnung", 2);
    log.setField("Platz", 4);
    log.setField("Reservierer", "new");
    log.post();
    log.setField("Reservierer", "renamed");
    log.post();
    QCOMPARE(TestInstallation::scalar("select Reservierer from Aktivitaet where Platz = 4").toString(),
             QString("renamed"));
    QVERIFY(log.remove());
    QCOMPARE(TestInstallation::scalar("select count(*) from Aktivitaet").toInt(), 2);
    // Only the table's own fields are the set's: the store's row address is none of them.
    log.openTable("Aktivitaet");
    QCOMPARE(log.fieldNames().join(',').toLower(),
             QString("aufzeichnung,datum,platz,reservierer,startzeit,laufzeit"));
    QCOMPARE(log.fieldIndex("rowid"), -1);
}

void TestTableStore::refusedInsertIsSilent()
{
    RecordSet profile;
    profile.openTable("Preisprofil", "Stundenindex");
    profile.beforeInsert = [] { return false; };
    profile.moveTo(5);
    QVERIFY(!profile.append());
    QCOMPARE(profile.state(), RecordSet::State::Browse);
    QCOMPARE(profile.count(), 24);
    QCOMPARE(profile.recNo(), 5);
    QCOMPARE(TestInstallation::scalar("select count(*) from Preisprofil").toInt(), 24);
}

void TestTableStore::newRowDefaults()
{
    RecordSet types;
    types.openTable("Tischfarben", "TypNr");
    types.onNewRecord = [&types] {
        Query max("select max(TypNr) maxid from Tischfarben");
        max.open();
        types.setField("TypNr", max.field("maxid").asInteger() + 1);
    };
    QVERIFY(types.append());
    QCOMPARE(types.field("TypNr").asInteger(), 3);
    types.setField("Tischtyp", "Badminton");
    types.post();
    QCOMPARE(TestInstallation::scalar("select Tischtyp from Tischfarben where TypNr = 3").toString(),
             QString("Badminton"));
    QVERIFY(types.findKey(3));
}

void TestTableStore::scrollAndDeleteHooks()
{
    RecordSet members;
    members.openTable("Mitglieder", "Mitgliedsnummer");
    QList<int> seen;
    members.afterScroll = [&] { seen << members.field("Mitgliedsnummer").asInteger(); };
    bool allow = false;
    members.beforeDelete = [&] { return allow; };
    members.next();
    members.last();
    members.next(); // past the end: no move, no call
    QCOMPARE(seen, (QList<int>{2, 12}));
    QVERIFY(members.eof());

    QVERIFY(!members.remove());
    QCOMPARE(TestInstallation::scalar("select count(*) from Mitglieder").toInt(), 12);
    allow = true;
    QVERIFY(members.remove());
    QCOMPARE(TestInstallation::scalar("select max(Mitgliedsnummer) from Mitglieder").toInt(), 11);
    QCOMPARE(members.field("Mitgliedsnummer").asInteger(), 11); // the row before the deleted last one
}

void TestTableStore::liveQueryAppendsRows()
{
    RecordSet names;
    names.openQuery("select * from Namen where 1= 3");
    QCOMPARE(names.count(), 0);
    QVERIFY(names.eof());
    names.append();
    names.setField("Name", "O'Neill");
    names.setField("Telefonnummer", "0171 1");
    names.post();
    QCOMPARE(
        TestInstallation::scalar("select Telefonnummer from Namen where Name = ?", {"O'Neill"}).toString(),
        QString("0171 1"));

    // The parameter row, edited through its live query, changes in the table.
    RecordSet parameters;
    parameters.openQuery("select * from Kennzahlen");
    parameters.edit();
    parameters.setField("wartezeit", 40);
    parameters.post();
    QCOMPARE(TestInstallation::scalar("select Wartezeit from Kennzahlen").toInt(), 40);

    // A select of some fields with a condition edits just those fields.
    RecordSet admin;
    admin.openQuery("select Passwort,Login from Rechte where Type='Administrator'");
    QCOMPARE(admin.count(), 1);
    admin.setField("Login", true);
    admin.post();
    QCOMPARE(TestInstallation::scalar("select count(*) from Rechte where Login = TRUE").toInt(), 1);
    QCOMPARE(TestInstallation::scalar("select Benutzer from Rechte where Login = true").toString(),
             QString("admin"));
}

void TestTableStore::cancelDropsTheNewRow()
{
    RecordSet names;
    names.openTable("Namen", "Name");
    const int before = names.count();
    names.moveTo(2);
    names.append();
    names.setField("Name", "Zed");
    names.cancel();
    QCOMPARE(names.count(), before);
    QCOMPARE(names.state(), RecordSet::State::Browse);
    names.first();
    names.edit();
    names.setField("Telefonnummer", "changed");
    names.cancel();
    QVERIFY(names.field("Telefonnummer").asString() != "changed");
    QCOMPARE(TestInstallation::scalar("select count(*) from Namen where Telefonnummer = 'changed'").toInt(),
             0);
}

void TestTableStore::parameterUsedTwice()
{
    // Lines closed on one day: first day <= t < last day + 1, the same value in both places.
    const int day = 46000;
    TestInstallation::exec("delete from Tischabrechnung");
    for (double t : {day - 0.0001, day + 0.0, day + 0.75, day + 1.0})
        TestInstallation::exec(
            "insert into Tischabrechnung (Betrag, Abgerechnet, Abrechnungsdatum) values (1, 1, ?)", {t});
    Query q("select count(*) n from Tischabrechnung where Abrechnungsdatum >= :pbisdatum and "
            "Abrechnungsdatum < :pbisdatum + 1");
    q.setParam("pbisdatum", day);
    q.open();
    QCOMPARE(q.field("n").asInteger(), 2);
    q.setParam("pbisdatum", day + 1);
    q.open();
    QCOMPARE(q.field("n").asInteger(), 1);
    q.setParam("pbisdatum", QDate(2000, 1, 1)); // dates bind as day counts
    q.open();
    QCOMPARE(q.field("n").asInteger(), 0);
}

void TestTableStore::apostropheMatchesLiterally()
{
    TestInstallation::exec("insert into Namen (Name) values (?)", {"D'Arcy"});
    Query q("select count(*) n from Namen where Name = :pname");
    q.setParam("pname", "D'Arcy");
    q.open();
    QCOMPARE(q.field("n").asInteger(), 1);
    q.setParam("pname", "x' or '1'='1");
    q.open();
    QCOMPARE(q.field("n").asInteger(), 0);
}

void TestTableStore::storeErrorsCarryTheMessage_data()
{
    QTest::addColumn<Engine>("engine");
    addEngineRows("courts");
}

void TestTableStore::storeErrorsCarryTheMessage()
{
    QFETCH(Engine, engine);
    INSTALL_ON(engine);
    Query missingTable("select * from Nirgends");
    try {
        missingTable.open();
        QFAIL("no error for a missing table");
    } catch (const StoreError& e) {
        QVERIFY2(e.message().contains("Nirgends"), qPrintable(e.message()));
    }
    Query unbound("select * from Tische where Tischnummer = :ptisch");
    QVERIFY_THROWS_EXCEPTION(StoreError, unbound.open());

    RecordSet courts;
    courts.openTable("Tische", "Tischnummer");
    QVERIFY_THROWS_EXCEPTION(StoreError, courts.field("Nichtda"));
    // A key violation reaches the caller and the row stays in insert state, nothing half-stored.
    courts.append();
    courts.setField("Tischnummer", 1);
    courts.setField("TypNr", 1);
    try {
        courts.post();
        QFAIL("a second court 1 was stored");
    } catch (const StoreError& e) {
        QCOMPARE(e.message(),
                 QString("Key violation: Tische already holds a row with this Tischnummer. The Tischnummer "
                         "must be unique."));
    }
    QCOMPARE(courts.state(), RecordSet::State::Insert);
    courts.cancel();
    QCOMPARE(TestInstallation::scalar("select count(*) from Tische").toInt(), 8);

    RecordSet readOnly;
    readOnly.openTable("Rechte");
    readOnly.setReadOnly(true);
    QVERIFY_THROWS_EXCEPTION(StoreError, readOnly.edit());
}

void TestTableStore::transactionRollsBackUnlessCommitted()
{
    {
        Store::Transaction t;
        Query("delete from Namen").exec();
    }
    QCOMPARE(TestInstallation::scalar("select count(*) from Namen").toInt(), 6);
    {
        Store::Transaction t;
        QCOMPARE(Query("delete from Namen").exec(), 6);
        t.commit();
    }
    QCOMPARE(TestInstallation::scalar("select count(*) from Namen").toInt(), 0);
}

void TestTableStore::modelEditsPostThroughTheSet()
{
    RecordSet names;
    names.openTable("Namen", "Name");
    RecordSetModel model(&names);
    QCOMPARE(model.rowCount(), 6);
    const int column = names.fieldIndex("Telefonnummer");
    QVERIFY(model.setData(model.index(2, column), "999"));
    QCOMPARE(names.recNo(), 2);
    QCOMPARE(names.state(), RecordSet::State::Edit);
    QCOMPARE(model.data(model.index(2, column)).toString(), QString("999"));
    QVERIFY(model.submit());
    QCOMPARE(TestInstallation::scalar("select count(*) from Namen where Telefonnummer = '999'").toInt(), 1);
    QVERIFY(model.setData(model.index(3, column), "888"));
    model.revert();
    QCOMPARE(TestInstallation::scalar("select count(*) from Namen where Telefonnummer = '888'").toInt(), 0);

    // Inserted and removed rows are announced as such, so a view keeps its place.
    QPersistentModelIndex second = model.index(1, 0);
    QList<int> inserted, removed;
    connect(&model, &QAbstractItemModel::rowsInserted, this,
            [&](const QModelIndex&, int first, int) { inserted << first; });
    connect(&model, &QAbstractItemModel::rowsRemoved, this,
            [&](const QModelIndex&, int first, int) { removed << first; });
    names.append();
    QCOMPARE(model.rowCount(), 7);
    names.cancel();
    names.moveTo(0);
    names.remove();
    QCOMPARE(inserted, QList<int>{6});
    QCOMPARE(removed, (QList<int>{6, 0}));
    QVERIFY(second.isValid());
    QCOMPARE(second.row(), 0);
}

void TestTableStore::missingDatabaseIsAnErrorNotAnEmptyFile()
{
    Store::close();
    QFile::rename(installation->databaseFile(), installation->databaseFile() + ".moved");
    QVERIFY_THROWS_EXCEPTION(StoreError, Query("select * from Tische").open());
    QVERIFY(!QFile::exists(installation->databaseFile()));
}

void TestTableStore::keyEditThenSecondEditOfTheSameRow_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("textField");
    QTest::addColumn<Engine>("engine");
    // Schaltplan's key is SQLite's rowid, Mitglieder's is not: both must keep the row's address.
    QTest::newRow("key is the rowid") << "Schaltplan"
                                      << "Anschluss" << 40 << 41 << "Bezeichnung" << Engine::SQLite;
    QTest::newRow("key beside the rowid") << "Mitglieder"
                                          << "Mitgliedsnummer" << 5 << 500 << "Nachname" << Engine::SQLite;
    QTest::newRow("key of the switching plan, PostgreSQL")
        << "Schaltplan"
        << "Anschluss" << 40 << 41 << "Bezeichnung" << Engine::PostgreSQL;
    QTest::newRow("member number, PostgreSQL")
        << "Mitglieder"
        << "Mitgliedsnummer" << 5 << 500 << "Nachname" << Engine::PostgreSQL;
}

void TestTableStore::keyEditThenSecondEditOfTheSameRow()
{
    QFETCH(QString, table);
    QFETCH(QString, key);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, textField);
    QFETCH(Engine, engine);
    INSTALL_ON(engine);
    RecordSet records;
    records.openTable(table, key);
    QVERIFY(records.findKey(from));
    records.setField(key, to);
    records.post();
    records.setField(textField, "second edit");
    records.post();
    records.setField(textField, "third edit");
    records.post();
    const QString count = QStringLiteral("select count(*) from %1 where %2 = ?").arg(table, key);
    QCOMPARE(TestInstallation::scalar(count, {from}).toInt(), 0);
    QCOMPARE(TestInstallation::scalar(
                 QStringLiteral("select %1 from %2 where %3 = ?").arg(textField, table, key), {to})
                 .toString(),
             QString("third edit"));
    QVERIFY(records.remove());
    QCOMPARE(TestInstallation::scalar(count, {to}).toInt(), 0);
}

void TestTableStore::writeThatReachesNoRowIsAnError_data()
{
    QTest::addColumn<Engine>("engine");
    addEngineRows("names");
}

void TestTableStore::writeThatReachesNoRowIsAnError()
{
    QFETCH(Engine, engine);
    INSTALL_ON(engine);
    RecordSet names;
    names.openTable("Namen", "Name");
    const QString first = names.field("Name").asString();
    TestInstallation::exec("delete from Namen where Name = ?", {first});
    names.setField("Telefonnummer", "lost?");
    QVERIFY_THROWS_EXCEPTION(StoreError, names.post());
    QCOMPARE(names.state(), RecordSet::State::Edit); // what was typed is still there to copy
    QCOMPARE(names.field("Telefonnummer").asString(), QString("lost?"));
    names.cancel();
    QVERIFY_THROWS_EXCEPTION(StoreError, names.remove());
}

namespace {

// The store's own checks, made before any engine sees the row: the same refusals on both.
void addRuleRows(Engine engine)
{
    const QString suffix = engine == Engine::SQLite ? QString() : QStringLiteral(", PostgreSQL");
    const auto row = [&suffix](const char* name) -> QTestData& {
        return QTest::newRow(qPrintable(QLatin1String(name) + suffix));
    };
    row("member without a number") << "Mitglieder"
                                   << "Mitgliedsnummer" << QVariant()
                                   << "Field 'Mitgliedsnummer' must have a value." << engine;
    row("name of 31 characters") << "Namen"
                                 << "Name" << QVariant(QString(31, 'x'))
                                 << "Field 'Name' holds at most 30 characters; the text has 31." << engine;
    row("court type without a name") << "Tischfarben"
                                     << "Tischtyp" << QVariant("") << "Field 'Tischtyp' must have a value."
                                     << engine;
    row("discount that is a lone minus")
        << "Mitglieder"
        << "Rabatt" << QVariant("-") << "Field 'Rabatt' holds numbers only; '-' is not a number." << engine;
    row("bill id of a pasted page")
        << "Kennzahlen"
        << "Belegid" << QVariant(QString(10000, '9'))
        << "Field 'Belegid' holds whole numbers only; '99999999999999999999...' is not one." << engine;
    row("percentage with a letter O")
        << "Preisprofil"
        << "Montag" << QVariant("1O0") << "Field 'Montag' holds whole numbers only; '1O0' is not one."
        << engine;
    row("percentage with a fraction")
        << "Preisprofil"
        << "Montag" << QVariant(62.5) << "Field 'Montag' holds whole numbers only; 62.5 is not one."
        << engine;
    const QString ball = QString::fromUtf8("\xF0\x9F\x8E\xBE");
    row("telephone of 21 emoji") << "Namen"
                                 << "Telefonnummer" << QVariant(ball.repeated(21))
                                 << "Field 'Telefonnummer' holds at most 20 characters; the text has 21."
                                 << engine;
    const QString unstorable =
        "Field 'Name' holds a character that cannot be stored (a NUL or half of a character).";
    row("name with a NUL") << "Namen"
                           << "Name" << QVariant(QString::fromUtf16(u"Ab\0el", 5)) << unstorable << engine;
    row("name ending in half an emoji") << "Namen"
                                        << "Name" << QVariant("Abel" + ball.left(1)) << unstorable << engine;
}

} // namespace

void TestTableStore::tableRulesRefusePosting_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("message");
    QTest::addColumn<Engine>("engine");
    for (Engine engine : {Engine::SQLite, Engine::PostgreSQL})
        addRuleRows(engine);
}

void TestTableStore::tableRulesRefusePosting()
{
    QFETCH(QString, table);
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    QFETCH(QString, message);
    QFETCH(Engine, engine);
    INSTALL_ON(engine);
    RecordSet records;
    records.openTable(table);
    const int before = records.count();
    records.append();
    for (const QString& f : records.fieldNames()) // a valid row but for the field under test
        if (records.fieldRequired(f))
            records.setField(f, records.fieldSize(f) > 0 ? QVariant("ok") : QVariant(9999));
    records.setField(field, value);
    try {
        records.post();
        QFAIL("posted against the table's rules");
    } catch (const StoreError& e) {
        QCOMPARE(e.message(), message);
    }
    QCOMPARE(records.state(), RecordSet::State::Insert);
    records.cancel();
    QCOMPARE(TestInstallation::scalar(QStringLiteral("select count(*) from %1").arg(table)).toInt(), before);
}

void TestTableStore::otherProgramsMeetTheSameRules_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QVariantList>("values");
    QTest::newRow("member without a number")
        << "insert into Mitglieder (Nachname) values (?)" << QVariantList{"Roe"};
    QTest::newRow("member number of 8 digits")
        << "insert into Mitglieder (Mitgliedsnummer) values (?)" << QVariantList{10000000};
    QTest::newRow("name of 31 characters")
        << "insert into Namen (Name) values (?)" << QVariantList{QString(31, 'n')};
    QTest::newRow("empty name") << "insert into Namen (Name) values (?)" << QVariantList{""};
    QTest::newRow("reservator of 31 characters")
        << "update Reservierung set Reservierer = ?" << QVariantList{QString(31, 'r')};
    QTest::newRow("currency of 7 characters")
        << "update \"Länder\" set \"Währung\" = ?" << QVariantList{"EUR EUR"};
    QTest::newRow("bill id that is no number") << "update Kennzahlen set Belegid = ?" << QVariantList{"-"};
    QTest::newRow("discount that is no number") << "update Mitglieder set Rabatt = ?" << QVariantList{"1e"};
    QTest::newRow("logical that is no number")
        << "update Reservierung set Bezahlt = ?" << QVariantList{"yes"};
}

void TestTableStore::otherProgramsMeetTheSameRules()
{
    QFETCH(QString, sql);
    QFETCH(QVariantList, values);
    QSqlQuery query(Store::database());
    QVERIFY(query.prepare(sql));
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values[i]);
    QVERIFY(!query.exec());
    QVERIFY2(query.lastError().text().contains("constraint", Qt::CaseInsensitive),
             qPrintable(query.lastError().text()));
    // Thirty characters fit.
    if (values.value(0).toString().size() == 31) {
        QSqlQuery fits(Store::database());
        QVERIFY(fits.prepare(sql));
        fits.bindValue(0, QString(30, 'n'));
        QVERIFY2(fits.exec(), qPrintable(fits.lastError().text()));
    }
}

void TestTableStore::numberTextsAreStoredAsNumbers()
{
    TestInstallation::exec("delete from Mitglieder");
    RecordSet members;
    members.openTable("Mitglieder", "Mitgliedsnummer");
    QCOMPARE(members.fieldNumberKind("Rabatt"), RecordSet::NumberKind::Decimal);
    QCOMPARE(members.fieldNumberKind("Mitgliedsnummer"), RecordSet::NumberKind::Whole);
    QCOMPARE(members.fieldNumberKind("Nachname"), RecordSet::NumberKind::None);
    members.append();
    members.setField("Mitgliedsnummer", " 7 ");
    members.setField("Rabatt", "12.5");
    members.setField("Eintritt", "   ");
    members.post();
    QSqlQuery stored(Store::database());
    QVERIFY(stored.exec("select typeof(Mitgliedsnummer), Mitgliedsnummer, typeof(Rabatt), Rabatt, "
                        "Eintritt from Mitglieder"));
    QVERIFY(stored.next());
    QCOMPARE(stored.value(0).toString(), QString("integer"));
    QCOMPARE(stored.value(1).toInt(), 7);
    QCOMPARE(stored.value(2).toString(), QString("real"));
    QCOMPARE(stored.value(3).toDouble(), 12.5);
    QVERIFY(stored.value(4).isNull());

    // A logical field takes the texts data-bound check boxes store; a text fits by its characters.
    RecordSet names;
    names.openQuery("select * from Namen where 1= 3");
    names.append();
    const QString ball = QString::fromUtf8("\xF0\x9F\x8E\xBE");
    names.setField("Name", ball.repeated(30));
    names.post();
    QCOMPARE(
        TestInstallation::scalar("select Name from Namen where Name = ?", {ball.repeated(30)}).toString(),
        ball.repeated(30));
    RecordSet paid;
    paid.openQuery("select * from Reservierung");
    paid.setField("Bezahlt", "True");
    paid.post();
    QCOMPARE(TestInstallation::scalar("select typeof(Bezahlt) || Bezahlt from Reservierung where rowid = "
                                      "(select min(rowid) from Reservierung)")
                 .toString(),
             QString("integer1"));
}

void TestTableStore::emptiedFieldIsWrittenEmpty()
{
    RecordSet names;
    names.openTable("Namen", "Name");
    const QString name = names.field("Name").asString();
    names.setField("Telefonnummer", "");
    names.post();
    QVERIFY(TestInstallation::scalar("select Telefonnummer from Namen where Name = ?", {name}).isNull());
    QVERIFY(names.field("Telefonnummer").isEmpty());

    // A new row writes its empty fields as empty too.
    names.append();
    names.setField("Name", "Nobody");
    names.post();
    QCOMPARE(
        TestInstallation::scalar("select count(*) from Namen where Name = 'Nobody' and Telefonnummer is null")
            .toInt(),
        1);
}

void TestTableStore::liveSelectWithWhereAndOrder_data()
{
    QTest::addColumn<Engine>("engine");
    addEngineRows("names and countries");
}

void TestTableStore::liveSelectWithWhereAndOrder()
{
    QFETCH(Engine, engine);
    INSTALL_ON(engine);
    TestInstallation::exec("delete from Namen");
    TestInstallation::exec("insert into Namen (Name, Telefonnummer) values ('Cole', '3'), ('Abel', '1'), "
                           "('Eve', '5'), ('Baker', '2')");
    RecordSet names;
    names.openQuery("select * from Namen where Telefonnummer <> :pnot order by Name desc", {{"pNot", "5"}});
    QVERIFY(!names.isReadOnly());
    QCOMPARE(names.fieldIndex("rowid"), -1);
    const auto seen = [&names] {
        QStringList rows;
        for (names.first(); !names.eof(); names.next())
            rows << names.field("Name").asString() + names.field("Telefonnummer").asString();
        return rows;
    };
    QCOMPARE(seen(), (QStringList{"Cole3", "Baker2", "Abel1"}));
    names.last();
    names.prior();
    QCOMPARE(names.field("Name").asString(), QString("Baker"));
    names.setField("Telefonnummer", "22");
    names.post();
    QVERIFY(names.append());
    names.setField("Name", "Dane");
    names.setField("Telefonnummer", "4");
    names.post();
    QCOMPARE(TestInstallation::scalar("select Telefonnummer from Namen where Name = 'Baker'").toString(),
             QString("22"));
    names.refresh();
    QCOMPARE(seen(), (QStringList{"Dane4", "Cole3", "Baker22", "Abel1"}));
    names.moveTo(0);
    QVERIFY(names.remove());
    QCOMPARE(TestInstallation::scalar("select count(*) from Namen where Name = 'Dane'").toInt(), 0);

    // Names that are no plain word are written quoted, on both engines alike.
    RecordSet countries;
    countries.openTable(QString::fromUtf8("Länder"), "Land");
    QVERIFY(countries.append());
    countries.setField("Land", "Xland");
    countries.setField(QString::fromUtf8("Währung"), "XLD");
    countries.post();
    QCOMPARE(
        TestInstallation::scalar(QString::fromUtf8("select Land from \"Länder\" where \"Währung\" = 'XLD'"))
            .toString(),
        QString("Xland"));
    QCOMPARE(countries.fieldSize(QString::fromUtf8("Währung")), 6);
    countries.setField(QString::fromUtf8("Währung"), "TOOLONG");
    QVERIFY_THROWS_EXCEPTION(StoreError, countries.post());
    countries.cancel();

    // A logical field written from a number or a text is stored as the engine's logical value.
    TestInstallation::exec("delete from Kartenleser");
    RecordSet reader;
    reader.openTable("Kartenleser");
    QVERIFY(reader.append());
    reader.setField("Aktiv", "True");
    reader.setField("FuerMitglieder", 0);
    reader.setField("FuerAngestellte", 1);
    reader.post();
    QCOMPARE(
        TestInstallation::scalar("select count(*) from Kartenleser where Aktiv = true and FuerMitglieder = "
                                 "false and FuerAngestellte = true")
            .toInt(),
        1);
}

void TestTableStore::distinctResultOpensReadOnlyForAGrid()
{
    const int day = int(TestInstallation::scalar("select min(Datum) from Reservierung").toDouble());
    RecordSet list;
    list.openQuery("select distinct Reservierer,Datum,Reservierungsnummer,Platz,Bezahlt from Reservierung "
                   "where Datum =:pdatum and Platz between :pvonplatz and :pbisplatz "
                   "order by Datum,Reservierer,Reservierungsnummer,Platz",
                   {{"pdatum", day}, {"pvonplatz", 1}, {"pbisplatz", 12}});
    const int expected = TestInstallation::scalar(
                             "select count(*) from (select distinct Reservierer, Reservierungsnummer, Platz "
                             "from Reservierung where Datum = ?)",
                             {day})
                             .toInt();
    QVERIFY(expected > 0);
    QCOMPARE(list.count(), expected);
    QCOMPARE(list.fieldNames().first(), QString("Reservierer"));
    QVERIFY(list.isReadOnly());
    QVERIFY_THROWS_EXCEPTION(StoreError, list.edit());

    RecordSetModel model(&list);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setColumns({{"Reservierer", "Reservator"},
                      {"Platz", "Court", 40, Qt::AlignCenter},
                      {"Bezahlt", "Payed", 50, Qt::AlignLeft, GridColumn::Display::Flag, false,
                       QColor(0, 128, 0), QColor(255, 255, 0)}});
    QCOMPARE(model.columnCount(), 3);
    QCOMPARE(model.headerData(2, Qt::Horizontal).toString(), QString("Payed"));
    QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));
    for (int row = 0; row < model.rowCount(); ++row) {
        list.moveTo(row);
        const bool paid = list.field("Bezahlt").asBoolean();
        QCOMPARE(model.data(model.index(row, 0)).toString(), list.field("Reservierer").asString());
        QCOMPARE(model.data(model.index(row, 2)).toString(), paid ? QString("True") : QString("False"));
        QCOMPARE(model.data(model.index(row, 2), Qt::BackgroundRole).value<QColor>(),
                 paid ? QColor(0, 128, 0) : QColor(255, 255, 0));
        QCOMPARE(model.data(model.index(row, 1), Qt::TextAlignmentRole).value<Qt::Alignment>(),
                 Qt::Alignment(Qt::AlignCenter));
    }
    list.refresh();
    QCOMPARE(model.rowCount(), expected);
}

void TestTableStore::failedPostInTheModelIsShownAndKeepsTheEdit()
{
    QStringList shown;
    Messages::setHandler([&shown](Messages::Kind, const QString& text) {
        shown << text;
        return Messages::Answer::Ok;
    });
    RecordSet names;
    names.openTable("Namen", "Name");
    RecordSetModel model(&names);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const int column = names.fieldIndex("Name");
    QVERIFY(model.setData(model.index(0, column), QString(31, 'x')));
    QVERIFY(!model.submit());
    QCOMPARE(shown, QStringList{"Field 'Name' holds at most 30 characters; the text has 31."});
    QCOMPARE(names.state(), RecordSet::State::Edit);
    QCOMPARE(model.data(model.index(0, column), Qt::EditRole).toString(), QString(31, 'x'));
    QVERIFY(model.setData(model.index(0, column), "Corrected"));
    QVERIFY(model.submit());
    QCOMPARE(TestInstallation::scalar("select count(*) from Namen where Name = 'Corrected'").toInt(), 1);
    Messages::setHandler({});
}

void TestTableStore::moneyFormats_data()
{
    QTest::addColumn<int>("factor");
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("receipt");
    QTest::newRow("whole, thousands") << 1 << 1234567.4 << "1,234,567 "
                                      << "1,234,567";
    QTest::newRow("whole, negative") << 1 << -1234.0 << "-1,234"
                                     << "-1,234";
    QTest::newRow("whole, zero") << 1 << 0.0 << "0 "
                                 << "0";
    QTest::newRow("one decimal") << 10 << 1234.56 << "1,234.6"
                                 << "1,234.6";
    QTest::newRow("one decimal, negative") << 10 << -0.5 << "-0.5"
                                           << "-0.5";
    QTest::newRow("two decimals") << 100 << 999.5 << "999.50 "
                                  << "999.50";
    QTest::newRow("two decimals, thousand") << 100 << 1000.0 << "1,000.00 "
                                            << "1,000.00";
    QTest::newRow("rounds to zero: no minus") << 100 << -0.001 << "0.00 "
                                              << "0.00";
}

void TestTableStore::moneyFormats()
{
    QFETCH(int, factor);
    QFETCH(double, amount);
    QFETCH(QString, screen);
    QFETCH(QString, receipt);
    Session::Nachkommafaktor = factor;
    QCOMPARE(DisplayFormat::money(amount), screen);
    QCOMPARE(DisplayFormat::receiptMoney(amount), receipt);
}

void TestTableStore::momentTextsCarryNoTimeZone()
{
    const double day = DayCount::fromDate(QDate(2026, 12, 10));
    const QString date = DisplayFormat::date(day);
    const QString evening = DisplayFormat::dateLongTime(day + 18.5 / 24);
    QVERIFY2(evening.startsWith(date + QLatin1Char(' ')), qPrintable(evening));
    QVERIFY2(evening.contains(QStringLiteral("30:00")), qPrintable(evening));
    QVERIFY2(!evening.contains(QDateTime::currentDateTime().timeZoneAbbreviation()), qPrintable(evening));
    QCOMPARE(DisplayFormat::dateLongTime(day), date);
    QCOMPARE(DisplayFormat::dateLongTime(0), QString());
}

void TestTableStore::noInstallationDirectoryOpensNoStore_data()
{
    QTest::addColumn<QString>("registry");
    QTest::newRow("empty registry file") << "";
    QTest::newRow("empty value") << "[Vantrell]\nInstalldirectory=\n";
    QTest::newRow("relative value") << "[Vantrell]\nInstalldirectory=.\n";
}

void TestTableStore::noInstallationDirectoryOpensNoStore()
{
    QFETCH(QString, registry);
    // Started from the folder of another installation, whose tables lie right there.
    QTemporaryDir other;
    QVERIFY(QDir(other.path()).mkdir(QStringLiteral("Tables")));
    const QString otherDatabase = other.filePath(QStringLiteral("Tables/Tennistables.sqlite"));
    QVERIFY(QFile::copy(installation->databaseFile(), otherDatabase));
    const QString started = QDir::currentPath();
    QVERIFY(QDir::setCurrent(other.path()));
    Store::close();
    {
        QFile file(Registry::filePath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(registry.toUtf8());
    }
    QString message;
    try {
        Query("update Tischabrechnung set Abgerechnet = True").exec();
    } catch (const StoreError& e) {
        message = e.message();
    }
    QDir::setCurrent(started);
    QVERIFY2(message.contains(Registry::filePath()), qPrintable(message));
    QVERIFY(Store::tablesDirectory().isEmpty());
    QVERIFY(Store::databaseFile().isEmpty());
    QVERIFY(!QSqlDatabase::database(QString::fromLatin1(Store::connectionName), false).isOpen());
    {
        QSqlDatabase check = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        check.setDatabaseName(otherDatabase);
        QVERIFY(check.open());
        QSqlQuery open(check);
        QVERIFY(open.exec(QStringLiteral("select count(*) from Tischabrechnung where Abgerechnet = False")));
        QVERIFY(open.next());
        QVERIFY(open.value(0).toInt() > 0);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
}

void TestTableStore::writeWaitsForAnotherWriter_data()
{
    QTest::addColumn<int>("holdMs");
    QTest::addColumn<bool>("written");
    QTest::newRow("other writer done within the wait") << 1000 << true;
    QTest::newRow("other writer holds on") << -1 << false;
}

void TestTableStore::writeWaitsForAnotherWriter()
{
    QFETCH(int, holdMs);
    QFETCH(bool, written);
    const QByteArray file = QFile::encodeName(installation->databaseFile());
    std::promise<bool> holding;
    std::atomic<bool> attemptDone{false};
    // A second program holds the write lock: for a second, or until the attempt here is over.
    std::thread other([&] {
        sqlite3* db = nullptr;
        const bool ok = sqlite3_open(file.constData(), &db) == SQLITE_OK &&
                        sqlite3_exec(db, "begin immediate; insert into Namen (Name) values ('other')",
                                     nullptr, nullptr, nullptr) == SQLITE_OK;
        holding.set_value(ok);
        if (ok) {
            if (holdMs >= 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(holdMs));
            else
                while (!attemptDone)
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
            sqlite3_exec(db, "commit", nullptr, nullptr, nullptr);
        }
        sqlite3_close(db);
    });
    const bool held = holding.get_future().get();
    QElapsedTimer clock;
    clock.start();
    QString failure;
    try {
        // Reads first, as numbering by the highest key does, then writes.
        Store::Transaction transaction;
        Query count(QStringLiteral("select count(*) from Namen"));
        count.open();
        Query insert(QStringLiteral("insert into Namen (Name) values (:pname)"));
        insert.setParam(QStringLiteral("pname"), QStringLiteral("desk"));
        insert.exec();
        transaction.commit();
    } catch (const StoreError& e) {
        failure = e.message();
    }
    const qint64 waited = clock.elapsed();
    attemptDone = true;
    other.join();
    QVERIFY(held);
    const int desk =
        TestInstallation::scalar(QStringLiteral("select count(*) from Namen where Name = 'desk'")).toInt();
    if (written) {
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QCOMPARE(desk, 1);
    } else {
        QVERIFY2(failure.contains(QLatin1String("database is locked")), qPrintable(failure));
        QVERIFY2(waited >= 1900, qPrintable(QString::number(waited)));
        QCOMPARE(desk, 0);
    }
}

namespace {

// The cases' tables on the server, as the installer words them there: plain names folded to lower
// case by the server, the checks named as on SQLite, the row identity last.
QStringList serverTables()
{
    const QString identity = QString::fromLatin1(dialect(Engine::PostgreSQL).rowIdentityColumn);
    return {
        QStringLiteral("create table Namen (Name VARCHAR(30) not null constraint \"Name holds at most 30 "
                       "characters\" check (length(Name) <= 30) constraint \"Name must have a value\" "
                       "check (Name <> '') primary key, Telefonnummer VARCHAR(20) constraint "
                       "\"Telefonnummer holds at most 20 characters\" check (length(Telefonnummer) <= 20), "
                       "%1)")
            .arg(identity),
        QStringLiteral("create table Mitglieder (Mitgliedsnummer INTEGER not null primary key, Nachname "
                       "VARCHAR(30), %1)")
            .arg(identity)};
}

// The store on the engine of a test row: the installation that init() made, or a fresh database
// on the test server holding the cases' tables, named by the registry's Datenbank. Namen holds
// the same six names on both.
class EngineStore {
public:
    explicit EngineStore(Engine engine)
    {
        if (engine == Engine::PostgreSQL) {
            server_ = std::make_unique<TestDatabase>();
            if (!server_->isValid()) {
                failure_ = server_->failure();
                return;
            }
            Store::close();
            if (!Registry::setValue(QStringLiteral("Datenbank"),
                                    QStringLiteral("postgresql:") + connectionString()))
                failure_ = QStringLiteral("registry not written");
            for (const QString& sql : serverTables()) {
                QSqlQuery definition(Store::database()); // the server prepares no definitions
                if (!definition.exec(sql))
                    failure_ = definition.lastError().text();
            }
        }
        TestInstallation::exec(QStringLiteral("delete from Namen"));
        TestInstallation::exec(QStringLiteral("insert into Namen (Name, Telefonnummer) values ('Abel', '1'), "
                                              "('Baker', '2'), ('Cole', '3'), ('Dane', '4'), ('Eve', '5'), "
                                              "('Fox', '6')"));
    }
    ~EngineStore()
    {
        // The database goes with the server's connection to it.
        Store::close();
    }
    EngineStore(const EngineStore&) = delete;
    EngineStore& operator=(const EngineStore&) = delete;

    const QString& failure() const { return failure_; }
    QString connectionString() const { return server_ ? server_->connectionString() : QString(); }

private:
    std::unique_ptr<TestDatabase> server_;
    QString failure_;
};

void addEngineRows(const char* name)
{
    QTest::newRow(qPrintable(QStringLiteral("%1, SQLite").arg(QLatin1String(name)))) << Engine::SQLite;
    QTest::newRow(qPrintable(QStringLiteral("%1, PostgreSQL").arg(QLatin1String(name))))
        << Engine::PostgreSQL;
}

} // namespace

#define OPEN_ENGINE_STORE(store, engine)                                                                     \
    if ((engine) == Engine::PostgreSQL && !TestDatabase::serverAvailable())                                  \
        QSKIP("no test server (COURTORIA_TEST_SERVER)");                                                     \
    EngineStore store(engine);                                                                               \
    QVERIFY2(store.failure().isEmpty(), qPrintable(store.failure()))

void TestTableStore::databaseValueChoosesTheStore_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<Engine>("engine");
    QTest::addColumn<QString>("connectOptions");
    QTest::addColumn<QString>("refusal"); // a part of the message when the value is refused
    QTest::newRow("absent") << QString() << Engine::SQLite << QString() << QString();
    QTest::newRow("blank") << "  " << Engine::SQLite << QString() << QString();
    QTest::newRow("service") << "postgresql:service=courtoria" << Engine::PostgreSQL
                             << "service=courtoria connect_timeout=5" << QString();
    QTest::newRow("socket folder and database")
        << "postgresql:host=/run/postgresql dbname=hall" << Engine::PostgreSQL
        << "host=/run/postgresql dbname=hall connect_timeout=5" << QString();
    QTest::newRow("own timeout kept")
        << "postgresql:host=db sslmode=require connect_timeout=12" << Engine::PostgreSQL
        << "host=db sslmode=require connect_timeout=12" << QString();
    QTest::newRow("libpq defaults") << "postgresql:" << Engine::PostgreSQL << "connect_timeout=5"
                                    << QString();
    QTest::newRow("another engine") << "mysql:host=db" << Engine::SQLite << QString() << "\"mysql:host=db\"";
    QTest::newRow("a file name") << "/srv/Tennistables.sqlite" << Engine::SQLite << QString()
                                 << "\"/srv/Tennistables.sqlite\"";
    QTest::newRow("a password") << "postgresql:host=db password=s3cret" << Engine::PostgreSQL << QString()
                                << "PGPASSFILE";
}

void TestTableStore::databaseValueChoosesTheStore()
{
    QFETCH(QString, value);
    QFETCH(Engine, engine);
    QFETCH(QString, connectOptions);
    QFETCH(QString, refusal);
    Store::close();
    if (!value.isNull())
        QVERIFY(Registry::setValue(QStringLiteral("Datenbank"), value));
    if (refusal.isEmpty()) {
        const Store::Location where = Store::location();
        QCOMPARE(where.engine, engine);
        QCOMPARE(where.connectOptions, connectOptions);
        QCOMPARE(Store::engine(), engine);
        QCOMPARE(Store::dialect().engine, engine);
        return;
    }
    for (const auto& use : std::initializer_list<std::function<void()>>{
             [] { Store::location(); }, [] { Store::database(); }, [] { Query("select 1").open(); }}) {
        try {
            use();
            QFAIL("a value naming no store was taken");
        } catch (const StoreError& e) {
            QVERIFY2(e.message().contains(refusal), qPrintable(e.message()));
            QVERIFY2(e.message().contains(Registry::filePath()), qPrintable(e.message()));
            QVERIFY2(!e.message().contains(QLatin1String("s3cret")), qPrintable(e.message()));
        }
    }
    // Nothing was opened instead, least of all the installation's SQLite file.
    QVERIFY(!QSqlDatabase::database(QString::fromLatin1(Store::connectionName), false).isOpen());
}

void TestTableStore::transactionsOnEitherEngine_data()
{
    QTest::addColumn<Engine>("engine");
    addEngineRows("commit and rollback");
}

void TestTableStore::transactionsOnEitherEngine()
{
    QFETCH(Engine, engine);
    OPEN_ENGINE_STORE(store, engine);
    QCOMPARE(Store::engine(), engine);
    QCOMPARE(Store::database().driverName(), QString::fromLatin1(dialect(engine).driver));
    {
        Store::Transaction t;
        QCOMPARE(Query("delete from Namen").exec(), 6);
    }
    QCOMPARE(TestInstallation::scalar("select count(*) from Namen").toInt(), 6);
    try {
        Store::Transaction t;
        Query("delete from Namen where Name = 'Abel'").exec();
        Query("insert into Namen (Name) values ('Baker')").exec(); // a broken key ends it midway
        t.commit();
        QFAIL("the broken key was stored");
    } catch (const StoreError&) {
    }
    QCOMPARE(TestInstallation::scalar("select count(*) from Namen where Name = 'Abel'").toInt(), 1);
    // A transaction inside another is refused, and the outer one stays all or nothing.
    {
        Store::Transaction outer;
        Query("delete from Namen where Name = 'Abel'").exec();
        try {
            Store::Transaction inner;
            inner.commit();
            QFAIL("a transaction began inside another");
        } catch (const StoreError& e) {
            QCOMPARE(e.message(), QString("cannot start a transaction within a transaction"));
        }
    }
    QCOMPARE(TestInstallation::scalar("select count(*) from Namen where Name = 'Abel'").toInt(), 1);
    {
        Store::Transaction t;
        Query insert("insert into Namen (Name) values (:pname)");
        insert.setParam("pname", "Gale");
        QCOMPARE(insert.exec(), 1);
        t.commit();
    }
    QCOMPARE(TestInstallation::scalar("select count(*) from Namen").toInt(), 7);
    // The connection takes statements again after the refused one: nothing is left open.
    QCOMPARE(Query("update Namen set Telefonnummer = '0' where Name = 'Gale'").exec(), 1);
}

void TestTableStore::storeErrorsReadTheSameOnEitherEngine_data()
{
    QTest::addColumn<Engine>("engine");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("message"); // how the message begins
    const QString key = "Key violation: Namen already holds a row with this Name. The Name must be unique.";
    for (Engine engine : {Engine::SQLite, Engine::PostgreSQL}) {
        const char* suffix = engine == Engine::SQLite ? ", SQLite" : ", PostgreSQL";
        QTest::newRow(qPrintable(QStringLiteral("key violation") + suffix))
            << engine << "insert into Namen (Name, Telefonnummer) values ('Cole', '9')" << key;
        QTest::newRow(qPrintable(QStringLiteral("key violation by an update") + suffix))
            << engine << "update Namen set Name = 'Abel' where Name = 'Baker'" << key;
        QTest::newRow(qPrintable(QStringLiteral("refused check") + suffix))
            << engine << "insert into Namen (Name) values ('')"
            << "CHECK constraint failed: Name must have a value";
        QTest::newRow(qPrintable(QStringLiteral("required field") + suffix))
            << engine << "insert into Mitglieder (Mitgliedsnummer, Nachname) values (null, 'Roe')"
            << "NOT NULL constraint failed: Mitglieder.Mitgliedsnummer";
    }
}

void TestTableStore::storeErrorsReadTheSameOnEitherEngine()
{
    QFETCH(Engine, engine);
    QFETCH(QString, sql);
    QFETCH(QString, message);
    OPEN_ENGINE_STORE(store, engine);
    QString through[2];
    try {
        Query(sql).exec();
        QFAIL("the statement was not refused");
    } catch (const StoreError& e) {
        through[0] = e.message();
    }
    // Inside a transaction, as every write runs, the words are the same.
    try {
        Store::Transaction t;
        Query(sql).exec();
        t.commit();
        QFAIL("the statement was not refused");
    } catch (const StoreError& e) {
        through[1] = e.message();
    }
    for (const QString& text : through) {
        QVERIFY2(text.startsWith(message), qPrintable(text));
        QVERIFY2(!text.contains(QLatin1String("ERROR:")) && !text.contains(QLatin1String("QPSQL")),
                 qPrintable(text));
    }
    QCOMPARE(TestInstallation::scalar("select count(*) from Namen where Name = 'Abel'").toInt(), 1);
}

void TestTableStore::numbersOfOneKindAreDrawnOneDeskAfterTheOther_data()
{
    QTest::addColumn<Engine>("engine");
    addEngineRows("reservation numbers");
}

void TestTableStore::numbersOfOneKindAreDrawnOneDeskAfterTheOther()
{
    QFETCH(Engine, engine);
    OPEN_ENGINE_STORE(store, engine);
    // Outside a transaction the lock would end with the statement: a fault of the caller.
    QVERIFY_THROWS_EXCEPTION(StoreError, Store::lockNumbers("reservation"));
    // The key is the same on every desk and in every build, and one per kind.
    QCOMPARE(Store::numberLockKey("reservation"), Store::numberLockKey("Reservation"));
    QCOMPARE(Store::numberLockKey("reservation"), Q_INT64_C(-648979303545121921));
    QSet<qint64> keys;
    for (const char* kind : {"reservation", "account", "receipt", "court type", "member"})
        keys << Store::numberLockKey(kind);
    QCOMPARE(keys.size(), 5);

    Store::Transaction transaction;
    Store::lockNumbers("reservation");
    Store::lockNumbers("reservation"); // twice in one transaction: no wait for itself
    if (engine == Engine::SQLite) {
        // Its write lock, taken at the beginning, serialises every writer (see the writer test above).
        transaction.commit();
        return;
    }
    const auto nothing = [](QSqlDatabase&) { return true; };
    RacingDesk sameKind(store.connectionString(), QStringLiteral("reservation"), nothing,
                        RacingDesk::Ends::AtOnce);
    RacingDesk otherKind(store.connectionString(), QStringLiteral("account"), nothing,
                         RacingDesk::Ends::AtOnce);
    QTRY_VERIFY(otherKind.done);
    QVERIFY(otherKind.worked);
    QTRY_COMPARE(TestInstallation::scalar("select count(*) from pg_locks where locktype = 'advisory' and "
                                          "not granted")
                     .toInt(),
                 1);
    QVERIFY(!sameKind.worked);
    transaction.commit();
    QTRY_VERIFY(sameKind.done);
    QVERIFY(sameKind.worked);
}

void TestTableStore::serviceFileNamesTheServer()
{
    OPEN_ENGINE_STORE(store, Engine::PostgreSQL);
    // The hall's settings stand in libpq's service file; the registry names only the service.
    QTemporaryDir folder;
    QFile services(folder.filePath("pg_service.conf"));
    QVERIFY(services.open(QIODevice::WriteOnly));
    services.write("[courtoria]\n");
    for (const QString& setting : store.connectionString().split(' ', Qt::SkipEmptyParts))
        services.write(setting.toUtf8() + "\n");
    services.close();
    const bool wasSet = qEnvironmentVariableIsSet("PGSERVICEFILE");
    const QByteArray before = qgetenv("PGSERVICEFILE");
    qputenv("PGSERVICEFILE", QFile::encodeName(services.fileName()));
    Store::close();
    QVERIFY(Registry::setValue(QStringLiteral("Datenbank"), QStringLiteral("postgresql:service=courtoria")));
    QString failure;
    int names = 0;
    try {
        Query count("select count(*) as n from Namen");
        count.open();
        names = count.field("n").asInteger();
    } catch (const StoreError& e) {
        failure = e.message();
    }
    Store::close();
    // An unknown service is libpq's refusal, said as the server's words.
    QVERIFY(Registry::setValue(QStringLiteral("Datenbank"), QStringLiteral("postgresql:service=elsewhere")));
    QString unknown;
    try {
        Store::database();
    } catch (const StoreError& e) {
        unknown = e.message();
        QCOMPARE(e.failure(), StoreError::Failure::Connection);
    }
    if (wasSet)
        qputenv("PGSERVICEFILE", before);
    else
        qunsetenv("PGSERVICEFILE");
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QCOMPARE(names, 6);
    QVERIFY2(unknown.contains(QLatin1String("elsewhere")), qPrintable(unknown));
}

void TestTableStore::rowReaderReadsTheSameOnEitherEngine_data()
{
    QTest::addColumn<Engine>("engine");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("integer");
    QTest::addColumn<qlonglong>("largeInt");
    QTest::addColumn<double>("number");
    const struct {
        const char* name;
        const char* column;
        QVariant stored;
        int integer;
        qlonglong largeInt;
        double number;
    } cases[] = {
        {"whole number", "Ganz", 42, 42, 42, 42.0},
        {"negative number", "Ganz", -17, -17, -17, -17.0},
        {"fraction", "Bruch", 45123.5, 45123, 45123, 45123.5},
        {"negative fraction cut towards zero", "Bruch", -2.75, -2, -2, -2.75},
        {"small fraction in exponent form", "Bruch", 1e-05, 0, 0, 1e-05},
        {"fraction of all digits", "Bruch", 46000.123456789012, 46000, 46000, 46000.123456789012},
        {"fraction without a short form", "Bruch", 0.1 + 0.2, 0, 0, 0.1 + 0.2},
        {"empty whole number", "Ganz", QVariant(), 0, 0, 0.0},
        {"empty fraction", "Bruch", QVariant(), 0, 0, 0.0},
        {"true", "Logisch", true, 1, 1, 1.0},
        {"false", "Logisch", false, 0, 0, 0.0},
        {"empty logical", "Logisch", QVariant(), 0, 0, 0.0},
        // Past a double's exact range, and past 32 bits, where a whole number keeps the lower ones.
        {"large number", "Gross", qlonglong(9007199254740993), 1, 9007199254740993, 9007199254740992.0},
        {"large negative number", "Gross", qlonglong(-5000000000), -705032704, -5000000000, -5000000000.0},
        {"decimal", "Dezimal", 12.5, 12, 12, 12.5},
    };
    for (const Engine engine : {Engine::SQLite, Engine::PostgreSQL})
        for (const auto& c : cases)
            QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(
                QLatin1String(c.name),
                engine == Engine::SQLite ? QLatin1String("SQLite") : QLatin1String("PostgreSQL"))))
                << engine << QString::fromLatin1(c.column) << c.stored << c.integer << c.largeInt << c.number;
}

void TestTableStore::rowReaderReadsTheSameOnEitherEngine()
{
    QFETCH(Engine, engine);
    QFETCH(QString, column);
    QFETCH(QVariant, stored);
    QFETCH(int, integer);
    QFETCH(qlonglong, largeInt);
    QFETCH(double, number);
    OPEN_ENGINE_STORE(store, engine);
    const SqlDialect& words = dialect(engine);
    QSqlQuery definition(Store::database());
    QVERIFY2(definition.exec(QStringLiteral("create table Probe (Nummer %1, Ganz %1, Gross BIGINT, Bruch %2, "
                                            "Logisch %3, Dezimal %4)")
                                 .arg(QLatin1String(words.integer), QLatin1String(words.floatingPoint),
                                      QLatin1String(words.logical), QLatin1String(words.number))),
             qPrintable(definition.lastError().text()));
    TestInstallation::exec(QStringLiteral("insert into Probe (Nummer, %1) values (1, ?), (2, ?)").arg(column),
                           {stored, stored});

    RowReader reader(
        QStringLiteral("select Nummer, %1 from Probe where Nummer >= :pvon order by Nummer").arg(column));
    // Read twice, the second time on the statement prepared by the first.
    for (int von : {1, 2}) {
        reader.setParam(QStringLiteral("pvon"), von);
        reader.open();
        for (int nummer = von; nummer <= 2; ++nummer) {
            QVERIFY(!reader.eof());
            QCOMPARE(reader.integer(0), nummer);
            QCOMPARE(reader.integer(1), integer);
            QCOMPARE(reader.largeInt(1), largeInt);
            // Exact: QCOMPARE would pass a double that is merely close.
            QVERIFY2(reader.number(1) == number, qPrintable(QString::number(reader.number(1), 'g', 17)));
            reader.next();
        }
        QVERIFY(reader.eof());
        reader.close();
    }
}

void TestTableStore::serverTextsReadAsSQLiteReadsThem_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qlonglong>("largeInt");
    QTest::addColumn<double>("number");
    QTest::newRow("whole") << "1234" << 1234LL << 1234.0;
    QTest::newRow("negative") << "-56" << -56LL << -56.0;
    QTest::newRow("fraction") << "45123.5" << 45123LL << 45123.5;
    QTest::newRow("exponent") << "1e-05" << 0LL << 1e-05;
    QTest::newRow("large exponent") << "2.5e+10" << 25000000000LL << 2.5e10;
    QTest::newRow("fraction without a whole part") << ".75" << 0LL << 0.75;
    QTest::newRow("logical true") << "t" << 1LL << 1.0;
    QTest::newRow("logical false") << "f" << 0LL << 0.0;
    QTest::newRow("empty") << "" << 0LL << 0.0;
    QTest::newRow("not a number") << "Abel" << 0LL << 0.0;
    QTest::newRow("leading number of a text") << "12 courts" << 12LL << 12.0;
    QTest::newRow("blanks and a sign before") << "  +7" << 7LL << 7.0;
    QTest::newRow("largest whole number")
        << "9223372036854775807" << 9223372036854775807LL << 9223372036854775807.0;
    QTest::newRow("past the whole numbers") << "1e300" << std::numeric_limits<qlonglong>::max() << 1e300;
    QTest::newRow("below the whole numbers") << "-1e300" << std::numeric_limits<qlonglong>::min() << -1e300;
}

void TestTableStore::serverTextsReadAsSQLiteReadsThem()
{
    QFETCH(QString, text);
    QFETCH(qlonglong, largeInt);
    QFETCH(double, number);
    const QByteArray bytes = text.toLatin1();
    const std::string_view view(bytes.constData(), size_t(bytes.size()));
    QCOMPARE(RowReader::parseLargeInt(view), largeInt);
    QVERIFY2(RowReader::parseNumber(view) == number,
             qPrintable(QString::number(RowReader::parseNumber(view), 'g', 17)));
}

void TestTableStore::queryReadOnWhileOtherStatementsRun_data()
{
    QTest::addColumn<Engine>("engine");
    addEngineRows("names");
}

void TestTableStore::queryReadOnWhileOtherStatementsRun()
{
    QFETCH(Engine, engine);
    OPEN_ENGINE_STORE(store, engine);
    // A walk over rows that writes and reads beside itself, as the windows' loops do.
    Query names("select Name from Namen order by Name");
    names.open();
    QStringList seen;
    for (; !names.eof(); names.next()) {
        seen << names.field("Name").asString();
        Query mark("update Namen set Telefonnummer = :pname where Name = :pname");
        mark.setParam("pname", seen.last());
        QCOMPARE(mark.exec(), 1);
        Query count("select count(*) as n from Namen");
        count.open();
        QCOMPARE(count.field("n").asInteger(), 6);
    }
    QCOMPARE(seen, (QStringList{"Abel", "Baker", "Cole", "Dane", "Eve", "Fox"}));
    QCOMPARE(TestInstallation::scalar("select count(*) from Namen where Telefonnummer = Name").toInt(), 6);
}

void TestTableStore::lostServerFailsTheActionAndTheNextReconnects_data()
{
    QTest::addColumn<bool>("inTransaction");
    QTest::newRow("a statement") << false;
    QTest::newRow("a transaction") << true;
}

void TestTableStore::lostServerFailsTheActionAndTheNextReconnects()
{
    QFETCH(bool, inTransaction);
    OPEN_ENGINE_STORE(store, Engine::PostgreSQL);
    // Prepared on the first connection and used again on the next.
    Query count("select count(*) as n from Namen");
    count.open();
    QCOMPARE(count.field("n").asInteger(), 6);
    count.close();
    const int backend = TestInstallation::scalar("select pg_backend_pid()").toInt();
    const QString killer = QStringLiteral("killer");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), killer);
        db.setConnectOptions(store.connectionString());
        QVERIFY2(db.open(), qPrintable(db.lastError().text()));
    }
    auto onOtherConnection = [&](const QString& sql) {
        QSqlQuery query(QSqlDatabase::database(killer));
        return query.exec(sql) && query.next() ? query.value(0) : QVariant();
    };
    std::unique_ptr<Store::Transaction> transaction;
    if (inTransaction) {
        transaction = std::make_unique<Store::Transaction>();
        Query("delete from Namen").exec();
    }
    QVERIFY(onOtherConnection(QStringLiteral("select pg_terminate_backend(%1)").arg(backend)).toBool());
    QTRY_COMPARE(
        onOtherConnection(QStringLiteral("select count(*) from pg_stat_activity where pid = %1").arg(backend))
            .toInt(),
        0);
    QString failure;
    try {
        if (transaction)
            transaction->commit();
        else
            count.open();
    } catch (const StoreError& e) {
        failure = e.message();
        QCOMPARE(e.failure(), StoreError::Failure::Connection);
    }
    transaction.reset();
    QSqlDatabase::removeDatabase(killer);
    QVERIFY2(failure.startsWith(QLatin1String("The connection to the database server was lost: ")),
             qPrintable(failure));
    QVERIFY2(failure.contains(QLatin1String("terminat")) || failure.contains(QLatin1String("closed")),
             qPrintable(failure));
    // The next action connects again, and nothing of the lost transaction stayed.
    QSignalSpy heard(&ChangeListener::instance(), &ChangeListener::heard);
    count.open();
    QCOMPARE(count.field("n").asInteger(), 6);
    QVERIFY(TestInstallation::scalar("select pg_backend_pid()").toInt() != backend);
    QCOMPARE(Query("update Namen set Telefonnummer = '0' where Name = 'Abel'").exec(), 1);
    // What other desks changed while the server was out of reach went unheard: the windows are
    // told that anything may have changed, once the action that reconnected is over.
    QCOMPARE(heard.count(), 0);
    QTRY_COMPARE(heard.count(), Changes::channels().size());
    for (const QList<QVariant>& change : std::as_const(heard))
        QVERIFY(change.at(1).toString().isEmpty());
}

namespace {

// Another desk's connection that listens on every channel, in the test's own thread.
class ListeningDesk {
public:
    explicit ListeningDesk(const QString& conninfo)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setConnectOptions(conninfo);
        opened = db.open();
        for (const QString& channel : Changes::channels())
            opened = opened && db.driver()->subscribeToNotification(channel);
        spy = std::make_unique<QSignalSpy>(
            db.driver(), qOverload<const QString&, QSqlDriver::NotificationSource, const QVariant&>(
                             &QSqlDriver::notification));
    }
    ~ListeningDesk()
    {
        spy.reset();
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }
    // Channel and payload of each notification heard so far.
    QStringList heard() const
    {
        QStringList all;
        for (const QList<QVariant>& n : std::as_const(*spy))
            all << n.at(0).toString() + QLatin1Char(' ') + n.at(2).toString();
        return all;
    }
    // A notification this desk sends itself, as the last of a series: once it is heard, every
    // earlier one has been delivered too.
    void sendLast(const QString& channel, const QString& payload)
    {
        QSqlQuery tell(QSqlDatabase::database(name, false));
        tell.prepare(QStringLiteral("select pg_notify(?, ?)"));
        tell.addBindValue(channel);
        tell.addBindValue(payload);
        tell.exec();
    }

    static inline const QString name = QStringLiteral("listeningdesk");
    bool opened = false;
    std::unique_ptr<QSignalSpy> spy;
};

} // namespace

void TestTableStore::changesReachTheOtherDesksOnceCommitted()
{
    INSTALL_ON(Engine::PostgreSQL);
    ListeningDesk other(installation->connectionString());
    QVERIFY(other.opened);
    const int day = 46000;
    auto book = [](int datum, int quarter) {
        RecordSet rows;
        rows.openQuery("select * from Reservierung where 1=3");
        rows.append();
        rows.setField("Reservierungsnummer", 900 + quarter);
        rows.setField("Datum", datum);
        rows.setField("Platz", 1);
        rows.setField("Stunde", 10);
        rows.setField("Viertelstunde", quarter);
        rows.setField("Bezahlt", false);
        rows.post();
    };
    {
        // Rolled back: nothing of it may reach another desk.
        Store::Transaction undone;
        book(day - 1, 1);
        Query("update Tische set Aktiv = false").exec();
    }
    {
        Store::Transaction transaction;
        // Four quarters of one day tell it once; a statement that changes rows tells its channel.
        for (int quarter = 1; quarter <= 4; ++quarter)
            book(day, quarter);
        QVERIFY(Query("insert into Tische (Tischnummer, TypNr) values (11, 1)").exec() == 1);
        QCOMPARE(Query("update Mitglieder set Rabatt = 0 where Mitgliedsnummer < 0").exec(),
                 0); // no row changed, nothing told
        QCoreApplication::processEvents();
        QVERIFY(other.heard().isEmpty()); // not before the commit
        transaction.commit();
    }
    // A record set's post outside any transaction goes out with its own.
    RecordSet parameters;
    parameters.openQuery("select * from Kennzahlen");
    parameters.append();
    parameters.setField("Firmenname", "Hall");
    parameters.post();
    // A write the store refuses tells nothing.
    QVERIFY_THROWS_EXCEPTION(StoreError,
                             Query("insert into Tische (Tischnummer, TypNr) values (11, 1)").exec());
    other.sendLast("licht", "end");
    QTRY_VERIFY_WITH_TIMEOUT(other.heard().contains("licht end"), 5000);
    QCOMPARE(other.heard(), QStringList({QStringLiteral("reservierung %1").arg(day), "tische ", "kennzahlen ",
                                         "licht end"}));
}

void TestTableStore::otherDesksChangesAreHeardAndOwnAreNot()
{
    INSTALL_ON(Engine::PostgreSQL);
    QSignalSpy heard(&ChangeListener::instance(), &ChangeListener::heard);
    Query("update Tische set Aktiv = true").exec();
    Store::notify(Changes::tische, "own");
    ListeningDesk other(installation->connectionString());
    QVERIFY(other.opened);
    other.sendLast("reservierung", "46000");
    QTRY_COMPARE_WITH_TIMEOUT(heard.count(), 1, 5000);
    QCOMPARE(heard.at(0).at(0).toString(), QStringLiteral("reservierung"));
    QCOMPARE(heard.at(0).at(1).toString(), QStringLiteral("46000"));
    // Heard again after the connection was lost and opened anew.
    Store::close();
    Store::database();
    other.sendLast("abrechnung", "");
    QTRY_COMPARE_WITH_TIMEOUT(heard.count(), 2, 5000);
    QCOMPARE(heard.at(1).at(0).toString(), QStringLiteral("abrechnung"));
}

QTEST_GUILESS_MAIN(TestTableStore)
#include "tst_tablestore.moc"
