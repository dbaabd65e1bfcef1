#include "data/daycount.h"
#include "data/store.h"
#include "racingdesk.h"
#include "refusingtrigger.h"
#include "reservations/occupancy.h"
#include "reservations/reservationstore.h"
#include "reservations/slots.h"
#include "testinstallation.h"
#include "testserver.h"

#include <QSqlQuery>
#include <QTest>

Q_DECLARE_METATYPE(Engine)

namespace {

const int day0 = 46000; // any day will do; rows are placed relative to it

// "number day platz stunde viertel paid", day relative to day0.
void insertRows(const QStringList& rows)
{
    for (const QString& row : rows) {
        const QStringList f = row.split(' ');
        TestInstallation::exec(
            "insert into Reservierung (Reservierungsnummer, Datum, Platz, Stunde, Viertelstunde, "
            "Bezahlt, Reservierer, Mitgliedsnummer, Prozente) values (?, ?, ?, ?, ?, ?, 'x', -17, "
            "0)",
            {f[0].toInt(), day0 + f[1].toInt(), f[2].toInt(), f[3].toInt(), f[4].toInt(), f[5] == "1"});
    }
}

char code(Belegung b)
{
    switch (b) {
    case Belegung::frei: return '.';
    case Belegung::reserviert1: return '1';
    case Belegung::reserviert2: return '2';
    case Belegung::bezahlt: return 'P';
    default: return '?';
    }
}

} // namespace

class TestReservations : public QObject {
    Q_OBJECT
private slots:
    void initTestCase_data();
    void init();
    void cleanup();

    void numbering();
    void storeWritesEveryRow();
    void storeFailingMidwayLeavesNoRow();
    void shadeWalk_data();
    void shadeWalk();
    void gridIgnoresRowsOutsideItsRanges();
    void purgeKeepsTheCutOffDay();
    void cancelDeletesEveryCourtOfTheNumber();
    void cancelFailingLeavesNoLogRow();
    void listsOfCourtReservations();
    void twoDesksDrawDifferentNumbers();
    void aQuarterSavedByTwoDesksAtOnceIsStoredOnce();
    void slotTexts_data();
    void slotTexts();
    void slotOfAMoment();

private:
    TestInstallation* installation = nullptr;
};

void TestReservations::initTestCase_data()
{
    QTest::addColumn<Engine>("engine");
    QTest::newRow("SQLite") << Engine::SQLite;
    QTest::newRow("PostgreSQL") << Engine::PostgreSQL;
}

void TestReservations::init()
{
    QFETCH_GLOBAL(Engine, engine);
    if (engine == Engine::PostgreSQL && !TestDatabase::serverAvailable())
        QSKIP("no test server (COURTORIA_TEST_SERVER)");
    installation = new TestInstallation(engine);
    QVERIFY2(installation->isValid(), qPrintable(installation->failure()));
}

void TestReservations::cleanup()
{
    delete installation;
    installation = nullptr;
}

void TestReservations::numbering()
{
    QCOMPARE(fNeueReservierungsnummer(), 1);
    NewReservation r;
    r.datum = day0;
    r.selected = {{18, 1, 3}};
    QCOMPARE(storeReservation(r), 1);
    r.selected = {{18, 2, 3}}; // a quarter is booked once
    QCOMPARE(storeReservation(r), 2);
    QCOMPARE(fNeueReservierungsnummer(), 3);
    // Deleting the highest number hands it out again.
    CourtReservation line;
    line.reservierungsnummer = 2;
    line.datum = day0;
    cancelReservation(line, day0 + 0.5);
    QCOMPARE(fNeueReservierungsnummer(), 2);
}

void TestReservations::storeWritesEveryRow()
{
    NewReservation r;
    r.datum = day0;
    r.reservierer = "";
    r.prozente = 12.5; // halves go to the even neighbour
    r.selected = {{18, 1, 2}, {18, 2, 2}, {18, 1, 5}};
    const int number = storeReservation(r);
    QCOMPARE(
        TestInstallation::scalar("select count(*) from Reservierung where Reservierungsnummer = ? and "
                                 "Reservierer = 'noname' and Mitgliedsnummer = -17 and Prozente = 12 and "
                                 "Bezahlt = false and Datum = ?",
                                 {number, day0})
            .toInt(),
        3);
    r.reservierer = "Lea Fischer";
    r.mitgliedsnummer = 4;
    r.prozente = 13.5;
    r.selected = {{20, 4, 1}};
    const int second = storeReservation(r);
    QCOMPARE(
        TestInstallation::scalar("select Prozente from Reservierung where Reservierungsnummer = ?", {second})
            .toInt(),
        14);
    QCOMPARE(TestInstallation::scalar(
                 "select Mitgliedsnummer from Reservierung where Reservierungsnummer = ?", {second})
                 .toInt(),
             4);
}

void TestReservations::storeFailingMidwayLeavesNoRow()
{
    addRefusingTrigger("fail_third", "Reservierung", "insert", "new.Viertelstunde = 3", "disk full");
    NewReservation r;
    r.datum = day0;
    r.reservierer = "Adams";
    r.selected = {{18, 1, 1}, {18, 2, 1}, {18, 3, 1}, {18, 4, 1}};
    try {
        storeReservation(r);
        QFAIL("the failing row was reported as stored");
    } catch (const StoreError& e) {
        QVERIFY2(e.message().contains("disk full"), qPrintable(e.message()));
    }
    QCOMPARE(TestInstallation::scalar("select count(*) from Reservierung").toInt(), 0);
    // The store is usable afterwards.
    dropRefusingTrigger("fail_third", "Reservierung");
    QCOMPARE(storeReservation(r), 1);
}

void TestReservations::shadeWalk_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("von");
    QTest::addColumn<int>("bis");
    // Probed slots as "day platz stunde viertel" and the states they read, in order.
    QTest::addColumn<QStringList>("probes");
    QTest::addColumn<QString>("states");

    QTest::newRow("first met is shade 1, next number shade 2")
        << QStringList{"7 0 1 10 1 0", "8 0 1 11 1 0", "9 0 1 12 1 0"} << 0 << 0
        << QStringList{"0 1 10 1", "0 1 11 1", "0 1 12 1", "0 1 13 1"} << "121.";
    QTest::newRow("higher number earlier in the day is shade 1")
        << QStringList{"3 0 2 18 1 0", "9 0 2 9 1 0"} << 0 << 0 << QStringList{"0 2 9 1", "0 2 18 1"} << "12";
    QTest::newRow("each court starts again at shade 1")
        << QStringList{"1 0 1 10 1 0", "2 0 1 11 1 0", "2 0 3 8 1 0"} << 0 << 0
        << QStringList{"0 1 10 1", "0 1 11 1", "0 3 8 1"} << "121";
    QTest::newRow("paid rows count in the alternation")
        << QStringList{"1 0 1 10 1 0", "2 0 1 11 1 1", "3 0 1 12 1 0"} << 0 << 0
        << QStringList{"0 1 10 1", "0 1 11 1", "0 1 12 1"} << "1P1";
    QTest::newRow("a number that comes back is a new change")
        << QStringList{"4 0 1 10 1 0", "5 0 1 10 2 0", "4 0 1 10 3 0"} << 0 << 0
        << QStringList{"0 1 10 1", "0 1 10 2", "0 1 10 3"} << "121";
    QTest::newRow("same court across a change of day keeps alternating")
        << QStringList{"1 0 4 20 1 0", "2 1 4 8 1 0"} << 0 << 1 << QStringList{"0 4 20 1", "1 4 8 1"} << "12";
    QTest::newRow("another court between days restarts")
        << QStringList{"1 0 4 20 1 0", "2 1 3 8 1 0", "3 1 4 8 1 0"} << 0 << 1
        << QStringList{"0 4 20 1", "1 3 8 1", "1 4 8 1"} << "111";
    QTest::newRow("a walk over one day of the week can shade it otherwise")
        << QStringList{"1 0 4 20 1 0", "2 1 4 8 1 0"} << 1 << 1 << QStringList{"1 4 8 1"} << "1";
    // Read, the row of the day before would turn the first in-range booking on its court to shade 2.
    QTest::newRow("rows outside the days are not read")
        << QStringList{"1 -1 1 10 1 0", "2 0 1 10 1 0", "3 1 1 10 1 1", "4 2 1 10 1 0"} << 0 << 1
        << QStringList{"-1 1 10 1", "0 1 10 1", "1 1 10 1", "2 1 10 1"} << ".1P.";
}

void TestReservations::shadeWalk()
{
    QFETCH(QStringList, rows);
    QFETCH(int, von);
    QFETCH(int, bis);
    QFETCH(QStringList, probes);
    QFETCH(QString, states);
    insertRows(rows);
    const OccupancyGrid grid = fBelegung(day0 + von, day0 + bis);
    QString got;
    for (const QString& probe : probes) {
        const QStringList f = probe.split(' ');
        got +=
            QLatin1Char(code(grid.at(day0 + f[0].toInt(), Slot{f[2].toInt(), f[3].toInt(), f[1].toInt()})));
    }
    QCOMPARE(got, states);
}

void TestReservations::gridIgnoresRowsOutsideItsRanges()
{
    insertRows({"1 0 13 10 1 0", "2 0 1 25 1 0", "3 0 1 24 4 0"});
    const OccupancyGrid grid = fBelegung(day0, day0);
    QCOMPARE(grid.at(day0, Slot{24, 4, 1}), Belegung::reserviert1);
    QCOMPARE(grid.at(day0, Slot{10, 1, 13}), Belegung::frei);
    QCOMPARE(grid.days(), 1);
}

void TestReservations::purgeKeepsTheCutOffDay()
{
    const int tenth = DayCount::fromDate(QDate(2026, 12, 10));
    for (int d : {1, 2, 3, 10})
        TestInstallation::exec(
            "insert into Reservierung (Reservierungsnummer, Datum, Platz, Stunde, Viertelstunde, "
            "Bezahlt) values (?, ?, 1, 10, 1, ?)",
            {d, DayCount::fromDate(QDate(2026, 12, d)), d % 2 == 1});
    QCOMPARE(purgeReservations(tenth, 7), 2);
    QCOMPARE(TestInstallation::scalar("select min(Datum) from Reservierung").toInt(),
             DayCount::fromDate(QDate(2026, 12, 3)));
    QCOMPARE(TestInstallation::scalar("select count(*) from Reservierung").toInt(), 2);
}

void TestReservations::cancelDeletesEveryCourtOfTheNumber()
{
    NewReservation r;
    r.datum = day0;
    r.reservierer = "Team Evans";
    r.selected = {{15, 3, 2}, {15, 4, 2}, {16, 1, 2}, {15, 3, 5}, {15, 4, 5}};
    const int number = storeReservation(r);
    r.selected = {{17, 1, 2}};
    storeReservation(r);

    const QList<CourtReservation> lines = courtReservationsOfDay(day0, 1, 12, ListOrder::byCourt);
    QCOMPARE(lines.size(), 3);
    const CourtReservation court2 = lines[0];
    QCOMPARE(court2.platz, 2);
    QCOMPARE(court2.dauer, 3);
    QCOMPARE(startTimeText(court2.start()), QString("02:30 pm"));

    const double recorded = day0 + 0.75;
    cancelReservation(court2, recorded);
    QCOMPARE(
        TestInstallation::scalar("select count(*) from Reservierung where Reservierungsnummer = ?", {number})
            .toInt(),
        0);
    QCOMPARE(TestInstallation::scalar("select count(*) from Reservierung").toInt(), 1);
    QCOMPARE(
        TestInstallation::scalar("select count(*) from Aktivitaet where Aufzeichnung = ? and Datum = ? and "
                                 "Platz = 2 and Reservierer = 'Team Evans' and Startzeit = '02:30 pm' and "
                                 "Laufzeit = 3",
                                 {recorded, day0})
            .toInt(),
        1);
    QCOMPARE(TestInstallation::scalar("select count(*) from Aktivitaet").toInt(), 1);
}

void TestReservations::cancelFailingLeavesNoLogRow()
{
    insertRows({"1 0 1 10 1 0"});
    addRefusingTrigger("keep", "Reservierung", "delete", QString(), "locked");
    CourtReservation line{1, day0, 1, "x", false, 1, 10, 1};
    QVERIFY_THROWS_EXCEPTION(StoreError, cancelReservation(line, day0));
    QCOMPARE(TestInstallation::scalar("select count(*) from Aktivitaet").toInt(), 0);
    QCOMPARE(TestInstallation::scalar("select count(*) from Reservierung").toInt(), 1);
}

void TestReservations::listsOfCourtReservations()
{
    insertRows(
        {"1 0 3 18 2 0", "1 0 3 18 3 0", "2 0 1 9 4 1", "2 0 1 10 1 1", "3 0 2 24 4 0", "4 1 1 8 1 0"});
    TestInstallation::exec("update Reservierung set Reservierer = 'Zed' where Reservierungsnummer = 2");
    TestInstallation::exec("update Reservierung set Reservierer = 'Adams' where Reservierungsnummer = 3");
    TestInstallation::exec("update Reservierung set Reservierer = 'Brandt' where Reservierungsnummer = 1");

    const auto byName = courtReservationsOfDay(day0, 1, 12, ListOrder::byReservator);
    QCOMPARE(byName.size(), 3);
    QCOMPARE(byName[0].reservierer, QString("Adams"));
    QCOMPARE(byName[2].reservierer, QString("Zed"));
    QVERIFY(byName[2].bezahlt);
    QCOMPARE(byName[2].dauer, 2);
    QCOMPARE(byName[2].stunde, 9);
    QCOMPARE(byName[2].viertelstunde, 4);
    QCOMPARE(startTimeText(byName[0].start()), QString("11:45 pm"));

    const auto courts2to3 = courtReservationsOfDay(day0, 2, 3, ListOrder::byCourt);
    QCOMPARE(courts2to3.size(), 2);
    QCOMPARE(courts2to3[0].platz, 2);
    QCOMPARE(courts2to3[1].platz, 3);

    const auto range = courtReservationsOfRange(day0, day0 + 1, 1, 1);
    QCOMPARE(range.size(), 2);
    QCOMPARE(range[1].datum, day0 + 1);
    QCOMPARE(printStartText(range[0].stunde, range[0].viertelstunde), QString("08 : 45"));
}

// The other desk's booking of court 1 at 09:00 on day0, with the number the expression gives.
std::function<bool(QSqlDatabase&)> otherDeskBooksNine(const char* number)
{
    return [number](QSqlDatabase& db) {
        QSqlQuery insert(db);
        return insert.exec(
            QStringLiteral("insert into Reservierung (Reservierungsnummer, Datum, Platz, Stunde, "
                           "Viertelstunde, Bezahlt, Reservierer, Mitgliedsnummer, Prozente) "
                           "values (%1, %2, 1, 10, 1, false, 'other', -17, 0)")
                .arg(QLatin1String(number))
                .arg(day0));
    };
}

void TestReservations::twoDesksDrawDifferentNumbers()
{
    if (Store::engine() == Engine::SQLite)
        QSKIP("SQLite's write lock, taken at the beginning, makes every writer wait for the other");
    // The other desk draws the next number and stores its booking, not yet committed.
    RacingDesk other(
        installation->connectionString(), "reservation",
        otherDeskBooksNine("(select coalesce(max(Reservierungsnummer), 0) + 1 from Reservierung)"));
    QTRY_VERIFY(other.holding);
    QVERIFY(other.worked);
    NewReservation r;
    r.datum = day0;
    r.reservierer = "this desk";
    r.selected = {{10, 2, 1}};
    const int number = storeReservation(r);
    QTRY_VERIFY_WITH_TIMEOUT(other.done, 15000);
    QVERIFY(other.waited);
    QVERIFY(other.committed);
    QCOMPARE(number, 2);
    QCOMPARE(TestInstallation::scalar("select count(distinct Reservierungsnummer) from Reservierung").toInt(),
             2);
}

void TestReservations::aQuarterSavedByTwoDesksAtOnceIsStoredOnce()
{
    if (Store::engine() == Engine::SQLite)
        QSKIP("SQLite's write lock, taken at the beginning, makes every writer wait for the other");
    // The other desk books court 1 at 09:00 and has not committed yet.
    RacingDesk other(installation->connectionString(), "reservation", otherDeskBooksNine("1"));
    QTRY_VERIFY(other.holding);
    QVERIFY(other.worked);
    // This desk saves 08:45 and 09:00 on the same court: the second quarter is taken.
    NewReservation r;
    r.datum = day0;
    r.reservierer = "this desk";
    r.selected = {{9, 4, 1}, {10, 1, 1}};
    QVERIFY_THROWS_EXCEPTION(StoreError, storeReservation(r));
    QTRY_VERIFY_WITH_TIMEOUT(other.done, 15000);
    QVERIFY(other.committed);
    QCOMPARE(TestInstallation::scalar("select count(*) from Reservierung").toInt(), 1);
    QCOMPARE(TestInstallation::scalar("select Reservierer from Reservierung").toString(), QString("other"));
    // The quarter reads as the other desk's booking.
    QCOMPARE(fBelegung(day0, day0).at(day0, Slot{10, 1, 1}), Belegung::reserviert1);
    QCOMPARE(fBelegung(day0, day0).at(day0, Slot{9, 4, 1}), Belegung::frei);
}

void TestReservations::slotTexts_data()
{
    QTest::addColumn<int>("stunde");
    QTest::addColumn<int>("viertel");
    QTest::addColumn<QString>("hourLabel");
    QTest::addColumn<QString>("listStart");
    QTest::addColumn<QString>("printStart");
    QTest::newRow("1/1 midnight") << 1 << 1 << "12:00 am"
                                  << "12:00 am"
                                  << "00 : 00";
    QTest::newRow("2/2") << 2 << 2 << "01:00 am"
                         << "01:15 am"
                         << "01 : 15";
    QTest::newRow("8/4") << 8 << 4 << "07:00 am"
                         << "07:45 am"
                         << "07 : 45";
    QTest::newRow("13/1 noon") << 13 << 1 << "12:00 pm"
                               << "12:00 pm"
                               << "12 : 00";
    QTest::newRow("15/2") << 15 << 2 << "02:00 pm"
                          << "02:15 pm"
                          << "14 : 15";
    QTest::newRow("24/4 last quarter") << 24 << 4 << "11:00 pm"
                                       << "11:45 pm"
                                       << "23 : 45";
}

void TestReservations::slotTexts()
{
    QFETCH(int, stunde);
    QFETCH(int, viertel);
    QFETCH(QString, hourLabel);
    QFETCH(QString, listStart);
    QFETCH(QString, printStart);
    const HourLabel label = hourRowLabel(stunde);
    QCOMPARE(label.time + ' ' + label.half, hourLabel);
    QCOMPARE(startTimeText(slotStart(day0, stunde, viertel)), listStart);
    QCOMPARE(printStartText(stunde, viertel), printStart);
    QCOMPARE(quarterLabel(viertel), QStringList({"00-15", "15-30", "30-45", "45-60"})[viertel - 1]);

    const QStringList durations{"0 : 15", "0 : 30", "0 : 45", "1 : 00"};
    QCOMPARE(printDurationText(viertel), durations[viertel - 1]);
    QCOMPARE(printDurationText(10), QString("2 : 30"));
}

void TestReservations::slotOfAMoment()
{
    QCOMPARE(slotOfMoment(day0), (Slot{1, 1, 1}));
    QCOMPARE(slotOfMoment(slotStart(day0, 19, 3)), (Slot{19, 3, 1}));
    QCOMPARE(slotOfMoment(DayCount::fromDateTime(QDateTime(DayCount::toDate(day0), QTime(18, 44, 59)))),
             (Slot{19, 3, 1}));
    QCOMPARE(slotOfMoment(DayCount::fromDateTime(QDateTime(DayCount::toDate(day0), QTime(23, 59, 59)))),
             (Slot{24, 4, 1}));
}

QTEST_GUILESS_MAIN(TestReservations)
#include "tst_reservations.moc"
