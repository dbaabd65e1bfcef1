#include "answers.h"
#include "billing/calculator.h"
#include "billing/courtbilling.h"
#include "billing/u_abrechnung.h"
#include "data/daycount.h"
#include "data/session.h"
#include "data/store.h"
#include "racingdesk.h"
#include "refusingtrigger.h"
#include "testinstallation.h"
#include "testserver.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTest>

Q_DECLARE_METATYPE(Engine)

namespace {

const int monday = DayCount::fromDate(QDate(2026, 12, 14));

// A court of a type priced 12.00 an hour, booked by number 5 from 18:00 to 19:00.
void bookEvening(int datum, int court = 3, int prozente = 10)
{
    TestInstallation::exec("update Tischfarben set Stundenpreis = 12.0 where TypNr = 1");
    TestInstallation::exec("insert into Tische (Tischnummer, TypNr) values (?, 1)", {court});
    for (int quarter = 1; quarter <= 4; ++quarter)
        TestInstallation::exec(
            "insert into Reservierung (Reservierungsnummer, Datum, Stunde, Viertelstunde, Platz, "
            "Reservierer, Mitgliedsnummer, Prozente, Bezahlt) values (5, ?, 19, ?, ?, 'Miller', "
            "-17, ?, false)",
            {datum, quarter, court, prozente});
}

CourtBilling::Line eveningLine(int datum, int court = 3, int prozente = 10)
{
    CourtBilling::Line line;
    line.reservierer = QStringLiteral("Miller");
    line.datum = datum;
    line.reservierungsnummer = 5;
    line.platz = court;
    line.prozente = prozente;
    line.dauer = 4;
    line.startstamp = datum + 18.0 / 24;
    return line;
}

int paidQuarters()
{
    return TestInstallation::scalar(
               "select count(*) from Reservierung where Reservierungsnummer = 5 and Bezahlt")
        .toInt();
}

} // namespace

class TestBilling : public QObject {
    Q_OBJECT
private slots:
    void initTestCase_data();
    void init();
    void cleanup();
    void pricesQuartersByProfileAndDiscount_data();
    void pricesQuartersByProfileAndDiscount();
    void pricesEachQuarterByItsHourAndWeekday_data();
    void pricesEachQuarterByItsHourAndWeekday();
    void billLineRefusedLeavesEveryQuarterUnpaid();
    void courtWithoutOneTypeBillsNothingButUsesTheReceiptNumber();
    void twoDesksPrintingAtOnceTakeDifferentReceiptNumbers();
    void aReservationBilledMeanwhileIsBilledOnce();
    void windowBillsOneReservationPerShowing();
    void calculator_data();
    void calculator();

private:
    std::unique_ptr<TestInstallation> installation;
};

void TestBilling::initTestCase_data()
{
    QTest::addColumn<Engine>("engine");
    QTest::newRow("SQLite") << Engine::SQLite;
    QTest::newRow("PostgreSQL") << Engine::PostgreSQL;
}

void TestBilling::init()
{
    QFETCH_GLOBAL(Engine, engine);
    if (engine == Engine::PostgreSQL && !TestDatabase::serverAvailable())
        QSKIP("no test server (COURTORIA_TEST_SERVER)");
    installation = std::make_unique<TestInstallation>(engine);
    QVERIFY2(installation->isValid(), qPrintable(installation->failure()));
    Session::Nachkommafaktor = 100;
}

void TestBilling::cleanup()
{
    installation.reset();
}

void TestBilling::pricesQuartersByProfileAndDiscount_data()
{
    QTest::addColumn<int>("factor");
    QTest::addColumn<bool>("profileRow");
    QTest::addColumn<int>("prozente");
    QTest::addColumn<double>("betrag");
    QTest::newRow("Monday at 150 %, 10 % off") << 100 << true << 10 << 16.20;
    QTest::newRow("no profile row: 100 %") << 100 << false << 10 << 10.80;
    QTest::newRow("all off: 0, still paid") << 100 << true << 100 << 0.0;
    QTest::newRow("whole units") << 1 << true << 10 << 16.0;
}

void TestBilling::pricesQuartersByProfileAndDiscount()
{
    QFETCH(int, factor);
    QFETCH(bool, profileRow);
    QFETCH(int, prozente);
    QFETCH(double, betrag);
    Session::Nachkommafaktor = factor;
    TestInstallation::exec("update Preisprofil set Montag = 150, Dienstag = 50 where Stundenindex = 19");
    if (!profileRow)
        TestInstallation::exec("delete from Preisprofil where Stundenindex = 19");
    bookEvening(monday, 3, prozente);
    QCOMPARE(CourtBilling::stundenprozent(19, monday), profileRow ? 150.0 : 100.0);
    QCOMPARE(CourtBilling::stundenprozent(19, monday + 1), profileRow ? 50.0 : 100.0);
    const auto bill = CourtBilling::bill(eveningLine(monday, 3, prozente), 3, monday + 0.8,
                                         CourtBilling::readParameters(false));
    QVERIFY(bill);
    QCOMPARE(bill->betrag, betrag);
    QCOMPARE(bill->beleg.tischtyp, QStringLiteral("Tennis"));
    QCOMPARE(bill->beleg.stundenpreis, QStringLiteral("12"));
    QCOMPARE(bill->beleg.quaters, QStringLiteral("4"));
    QCOMPARE(paidQuarters(), 4);
    QCOMPARE(TestInstallation::scalar("select Tischnummer || '|' || Quaters || '|' || Reservierer || '|' || "
                                      "case when Abgerechnet then 'settled' else 'open' end from "
                                      "Tischabrechnung")
                 .toString(),
             QStringLiteral("3|4|Miller|open"));
    QCOMPARE(TestInstallation::scalar("select Betrag from Tischabrechnung").toDouble(), betrag);
    QCOMPARE(TestInstallation::scalar("select Startzeit from Tischabrechnung").toDouble(),
             monday + 18.0 / 24);
}

void TestBilling::pricesEachQuarterByItsHourAndWeekday_data()
{
    QTest::addColumn<QDate>("day");
    QTest::addColumn<double>("betrag");
    // 18:30 to 19:30 at 12.00 an hour: two quarters in hour 19, two in hour 20. Each weekday
    // column holds a percentage of its own, so a shifted column prices differently.
    // Sunday: 2 x 3.00 x 200 % + 2 x 3.00 x 110 % = 18.60.
    QTest::newRow("Sunday, the first weekday column") << QDate(2026, 12, 13) << 18.60;
    // Saturday: 2 x 3.00 x 50 % + 2 x 3.00 x 150 % = 12.00.
    QTest::newRow("Saturday, the last weekday column") << QDate(2026, 12, 19) << 12.00;
}

void TestBilling::pricesEachQuarterByItsHourAndWeekday()
{
    QFETCH(QDate, day);
    QFETCH(double, betrag);
    TestInstallation::exec(
        "update Preisprofil set Sonntag = 200, Montag = 300, Dienstag = 100, Mittwoch = 100, "
        "Donnerstag = 100, Freitag = 400, Samstag = 50 where Stundenindex = 19");
    TestInstallation::exec(
        "update Preisprofil set Sonntag = 110, Montag = 300, Dienstag = 100, Mittwoch = 100, "
        "Donnerstag = 100, Freitag = 400, Samstag = 150 where Stundenindex = 20");
    const int datum = DayCount::fromDate(day);
    TestInstallation::exec("update Tischfarben set Stundenpreis = 12.0 where TypNr = 1");
    TestInstallation::exec("insert into Tische (Tischnummer, TypNr) values (3, 1)");
    for (const auto& [stunde, viertel] : {std::pair{19, 3}, {19, 4}, {20, 1}, {20, 2}})
        TestInstallation::exec(
            "insert into Reservierung (Reservierungsnummer, Datum, Stunde, Viertelstunde, Platz, "
            "Reservierer, Mitgliedsnummer, Prozente, Bezahlt) values (5, ?, ?, ?, 3, 'Miller', -17, 0, "
            "false)",
            {datum, stunde, viertel});
    CourtBilling::Line line = eveningLine(datum, 3, 0);
    line.startstamp = datum + 18.5 / 24;
    const auto bill = CourtBilling::bill(line, 3, datum + 0.9, CourtBilling::readParameters(false));
    QVERIFY(bill);
    QCOMPARE(bill->betrag, betrag);
    QCOMPARE(paidQuarters(), 4);
}

void TestBilling::billLineRefusedLeavesEveryQuarterUnpaid()
{
    bookEvening(monday, 3);
    addRefusingTrigger("refuse_bill", "Tischabrechnung", "insert", QString(), "disk full");
    bool refused = false;
    try {
        CourtBilling::bill(eveningLine(monday), 3, monday + 0.8, CourtBilling::readParameters(false));
    } catch (const StoreError& e) {
        refused = e.message().contains(QStringLiteral("disk full"));
    }
    QVERIFY(refused);
    QCOMPARE(paidQuarters(), 0);
    QCOMPARE(TestInstallation::scalar("select count(*) from Tischabrechnung").toInt(), 0);
    // The reservation is still there to be billed once the store takes the line.
    dropRefusingTrigger("refuse_bill", "Tischabrechnung");
    QCOMPARE(CourtBilling::unpaidLines(monday, 3).size(), 1);
}

void TestBilling::courtWithoutOneTypeBillsNothingButUsesTheReceiptNumber()
{
    bookEvening(monday, 3);
    TestInstallation::exec("update Tische set TypNr = 9 where Tischnummer = 3");
    const int receipt = TestInstallation::scalar("select Belegid from Kennzahlen").toInt();
    const auto beleg = CourtBilling::readParameters(true);
    QCOMPARE(beleg.belegnummer, receipt + 1);
    QVERIFY(!CourtBilling::bill(eveningLine(monday), 3, monday + 0.8, beleg));
    QCOMPARE(TestInstallation::scalar("select Belegid from Kennzahlen").toInt(), receipt + 1);
    QCOMPARE(paidQuarters(), 0);
    QCOMPARE(TestInstallation::scalar("select count(*) from Tischabrechnung").toInt(), 0);
}

void TestBilling::twoDesksPrintingAtOnceTakeDifferentReceiptNumbers()
{
    if (Store::engine() == Engine::SQLite)
        QSKIP("SQLite's write lock, taken at the beginning, makes every writer wait for the other");
    const int receipt = TestInstallation::scalar("select Belegid from Kennzahlen").toInt();
    // The other desk has taken the next receipt number and not committed yet.
    RacingDesk other(installation->connectionString(), "receipt", [](QSqlDatabase& db) {
        QSqlQuery take(db);
        return take.exec(QStringLiteral("update Kennzahlen set Belegid = Belegid + 1"));
    });
    QTRY_VERIFY(other.holding);
    QVERIFY(other.worked);
    const CourtBilling::Belegdaten beleg = CourtBilling::readParameters(true);
    QTRY_VERIFY_WITH_TIMEOUT(other.done, 15000);
    QVERIFY(other.waited);
    QVERIFY(other.committed);
    QCOMPARE(beleg.belegnummer, receipt + 2);
    QCOMPARE(TestInstallation::scalar("select Belegid from Kennzahlen").toInt(), receipt + 2);
    // Only looking at the parameters takes no number and waits for no one.
    QCOMPARE(CourtBilling::readParameters(false).belegnummer, receipt + 2);
}

void TestBilling::aReservationBilledMeanwhileIsBilledOnce()
{
    bookEvening(monday, 3);
    bookEvening(monday + 1, 4);
    const auto billedLines = [] {
        return TestInstallation::scalar("select count(*) from Tischabrechnung").toInt();
    };
    // Both desks listed the reservation unpaid; this desk bills it first, the other one after.
    const CourtBilling::Line listed = eveningLine(monday);
    QVERIFY(CourtBilling::bill(listed, 3, monday + 0.8, CourtBilling::readParameters(false)));
    QVERIFY_THROWS_EXCEPTION(
        StoreError, CourtBilling::bill(listed, 3, monday + 0.81, CourtBilling::readParameters(false)));
    QCOMPARE(billedLines(), 1);
    QCOMPARE(paidQuarters(), 4);
    if (Store::engine() == Engine::SQLite)
        return; // its write lock makes the second desk wait for the first one's commit before it reads
    // The other desk bills the reservation of the next day and has not committed yet when this desk
    // bills it too.
    RacingDesk other(installation->connectionString(), "bill", [](QSqlDatabase& db) {
        QSqlQuery paid(db);
        QSqlQuery line(db);
        return paid.exec(QStringLiteral("update Reservierung set Bezahlt = true where Platz = 4")) &&
               line.exec(QStringLiteral("insert into Tischabrechnung (Tischnummer, Einschreibdatum, Betrag, "
                                        "DrinksundSnacks, Abgerechnet, Startzeit, Quaters, Reservierer) "
                                        "values (4, %1, 16.2, 0, false, %1, 4, 'Miller')")
                             .arg(monday + 1.8));
    });
    QTRY_VERIFY(other.holding);
    QVERIFY(other.worked);
    QVERIFY_THROWS_EXCEPTION(StoreError, CourtBilling::bill(eveningLine(monday + 1, 4), 4, monday + 1.9,
                                                            CourtBilling::readParameters(false)));
    QTRY_VERIFY_WITH_TIMEOUT(other.done, 15000);
    QVERIFY(other.waited);
    QVERIFY(other.committed);
    QCOMPARE(billedLines(), 2);
    QCOMPARE(TestInstallation::scalar("select count(*) from Tischabrechnung where Tischnummer = 4").toInt(),
             1);
}

void TestBilling::windowBillsOneReservationPerShowing()
{
    const int today = DayCount::today();
    bookEvening(today, 3, 0);
    TestInstallation::exec(
        "insert into Reservierung (Reservierungsnummer, Datum, Stunde, Viertelstunde, Platz, "
        "Reservierer, Mitgliedsnummer, Prozente, Bezahlt) values (6, ?, 9, 1, 3, 'Abel', -17, 0, false)",
        {today});
    TestInstallation::exec(
        "update Preisprofil set Sonntag = 100, Montag = 100, Dienstag = 100, Mittwoch = 100, "
        "Donnerstag = 100, Freitag = 100, Samstag = 100");
    Tfrm_abrechnung w;
    w.ed_court->setText(QStringLiteral("3"));
    w.show();
    QCOMPARE(w.gr_spieler->rowCount(), 2);
    QCOMPARE(w.gr_spieler->item(1, 0)->text(), QStringLiteral("Miller")); // ordered by reservator
    QCOMPARE(w.gr_spieler->item(1, 1)->text(), QStringLiteral("06:00 pm"));
    QCOMPARE(w.gr_spieler->item(1, 2)->text(), QStringLiteral("4"));
    w.gr_spieler->selectRow(1);
    w.btn_abrechnen->click();
    QCOMPARE(w.ed_betrag->text(), QStringLiteral("12.00 "));
    QCOMPARE(paidQuarters(), 4);
    QCOMPARE(w.gr_spieler->rowCount(), 0);
    QVERIFY(!w.btn_abrechnen->isEnabled());
    w.close();
    w.show(); // the other reservation is there again
    QCOMPARE(w.gr_spieler->rowCount(), 1);
    QCOMPARE(w.gr_spieler->item(0, 0)->text(), QStringLiteral("Abel"));
    w.close();

    // A court without reservations: the list is empty and the button does nothing.
    w.ed_court->setText(QStringLiteral("7"));
    w.show();
    QCOMPARE(w.gr_spieler->rowCount(), 0);
    Answers answers;
    w.btn_abrechnen->click();
    QVERIFY(answers.asked.isEmpty());
    QCOMPARE(TestInstallation::scalar("select count(*) from Tischabrechnung").toInt(), 1);
}

void TestBilling::calculator_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("valid");
    QTest::newRow("precedence") << "2+3*4" << 14.0 << true;
    QTest::newRow("parentheses and sign") << "-(2+3)*4" << -20.0 << true;
    QTest::newRow("comma as the point") << "12,5 / 2" << 6.25 << true;
    QTest::newRow("division by zero") << "1/0" << 0.0 << false;
    QTest::newRow("incomplete") << "3+" << 0.0 << false;
}

void TestBilling::calculator()
{
    QFETCH(QString, expression);
    QFETCH(double, value);
    QFETCH(bool, valid);
    const auto result = Calculator::evaluate(expression);
    QCOMPARE(result.has_value(), valid);
    if (valid)
        QCOMPARE(*result, value);
}

QTEST_MAIN(TestBilling)
#include "tst_billing.moc"
