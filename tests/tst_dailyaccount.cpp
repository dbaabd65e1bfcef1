#include "billing/dailyaccount.h"
#include "billing/u_tagesabrechnung.h"
#include "data/session.h"
#include "racingdesk.h"
#include "testinstallation.h"
#include "testserver.h"
#include "ui/recordgrid.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

Q_DECLARE_METATYPE(Engine)

namespace {

void bill(int court, double amount, double written, int account = 0)
{
    TestInstallation::exec(
        "insert into Tischabrechnung (Tischnummer, Einschreibdatum, Betrag, DrinksundSnacks, "
        "Abgerechnet, Abrechnungsfolge, Abrechnungsdatum, Startzeit, Quaters, Reservierer) "
        "values (?, ?, ?, 0, ?, ?, ?, ?, 4, 'x')",
        {court, written, amount, account > 0, account > 0 ? QVariant(account) : QVariant(),
         account > 0 ? QVariant(written + 0.5) : QVariant(), written - 0.1});
}

int count(const QString& where)
{
    return TestInstallation::scalar("select count(*) from Tischabrechnung where " + where).toInt();
}

const double day = 46000;

} // namespace

class TestDailyAccount : public QObject {
    Q_OBJECT
private slots:
    void initTestCase_data();
    void init();
    void cleanup();
    void openLinesGetTheNextNumberAndOneMoment();
    void nothingOpenWritesNothingAndKeepsTheNumber();
    void numberingStartsAgainWhenNoAccountIsLeft();
    void twoDesksClosingAtOncePutEachLineInOneAccount();
    void windowClosesOncePerShowing();

private:
    std::unique_ptr<TestInstallation> installation;
};

void TestDailyAccount::initTestCase_data()
{
    QTest::addColumn<Engine>("engine");
    QTest::newRow("SQLite") << Engine::SQLite;
    QTest::newRow("PostgreSQL") << Engine::PostgreSQL;
}

void TestDailyAccount::init()
{
    QFETCH_GLOBAL(Engine, engine);
    if (engine == Engine::PostgreSQL && !TestDatabase::serverAvailable())
        QSKIP("no test server (COURTORIA_TEST_SERVER)");
    installation = std::make_unique<TestInstallation>(engine);
    QVERIFY2(installation->isValid(), qPrintable(installation->failure()));
    Session::Nachkommafaktor = 100;
}

void TestDailyAccount::cleanup()
{
    installation.reset();
}

void TestDailyAccount::openLinesGetTheNextNumberAndOneMoment()
{
    for (int account = 1; account <= 7; ++account)
        bill(1, 5, day - 10 + account, account);
    bill(3, 10.00, day + 0.4);
    bill(1, 12.50, day + 0.5);
    bill(2, 7.25, day + 0.6);
    QCOMPARE(DailyAccount::openSum(), 29.75);
    const double now = day + 0.9;
    const DailyAccount::Closed closed = DailyAccount::close(now);
    QCOMPARE(closed.abrechnungsfolge, 8);
    QCOMPARE(closed.sum, 29.75);
    QCOMPARE(count("Abgerechnet = false"), 0);
    QCOMPARE(count(QStringLiteral("Abrechnungsfolge = 8 and Abrechnungsdatum = %1 and Abgerechnet")
                       .arg(now, 0, 'f', 6)),
             3);
    // Lines billed after a closing belong to the next account, the same calendar day or not.
    bill(4, 3, day + 0.95);
    QCOMPARE(DailyAccount::close(day + 0.99).abrechnungsfolge, 9);
}

void TestDailyAccount::nothingOpenWritesNothingAndKeepsTheNumber()
{
    bill(1, 5, day, 3);
    const DailyAccount::Closed empty = DailyAccount::close(day + 1);
    QCOMPARE(empty.abrechnungsfolge, 4);
    QCOMPARE(empty.sum, 0.0);
    QCOMPARE(count("Abrechnungsfolge = 4"), 0);
    bill(2, 6, day + 1.1);
    QCOMPARE(DailyAccount::close(day + 1.2).abrechnungsfolge, 4);
}

void TestDailyAccount::numberingStartsAgainWhenNoAccountIsLeft()
{
    bill(1, 5, day);
    QCOMPARE(DailyAccount::close(day + 0.5).abrechnungsfolge, 1);
    TestInstallation::exec("delete from Tischabrechnung where Abgerechnet");
    bill(1, 5, day + 1);
    QCOMPARE(DailyAccount::close(day + 1.5).abrechnungsfolge, 1);
}

void TestDailyAccount::twoDesksClosingAtOncePutEachLineInOneAccount()
{
    if (Store::engine() == Engine::SQLite)
        QSKIP("SQLite's write lock, taken at the beginning, makes every writer wait for the other");
    bill(3, 10.00, day + 0.4);
    bill(1, 12.50, day + 0.5);
    bill(2, 7.25, day + 0.6);
    // The other desk closes the open lines as account 1 and has not committed yet.
    RacingDesk other(installation->connectionString(), "account", [](QSqlDatabase& db) {
        QSqlQuery settle(db);
        if (settle.exec(QStringLiteral("update Tischabrechnung set Abgerechnet = true, Abrechnungsfolge = "
                                       "(select coalesce(max(Abrechnungsfolge), 0) + 1 from "
                                       "Tischabrechnung), Abrechnungsdatum = %1 where not Abgerechnet")
                            .arg(day + 0.8)))
            return true;
        qWarning("%s", qPrintable(settle.lastError().text()));
        return false;
    });
    QTRY_VERIFY(other.holding);
    QVERIFY(other.worked);
    const DailyAccount::Closed closed = DailyAccount::close(day + 0.9);
    QTRY_VERIFY_WITH_TIMEOUT(other.done, 15000);
    QVERIFY(other.waited);
    QVERIFY(other.committed);
    // This desk's account comes after the other's and holds none of its lines, nor counts them.
    QCOMPARE(closed.abrechnungsfolge, 2);
    QCOMPARE(closed.sum, 0.0);
    QCOMPARE(count("Abrechnungsfolge = 1 and Abgerechnet"), 3);
    QCOMPARE(count("Abrechnungsfolge <> 1 or not Abgerechnet"), 0);
}

void TestDailyAccount::windowClosesOncePerShowing()
{
    bill(3, 10.00, day + 0.4);
    bill(1, 12.50, day + 0.5);
    bill(2, 7.25, day + 0.6);
    Tfrm_Tagesabrechnung w;
    w.show();
    QAbstractItemModel* lines = w.dgr_tagesabr->model();
    QCOMPARE(lines->rowCount(), 3);
    QCOMPARE(lines->headerData(4, Qt::Horizontal).toString(), QStringLiteral("Bill"));
    QCOMPARE(lines->data(lines->index(0, 0)).toInt(), 1); // ordered by court
    QCOMPARE(lines->data(lines->index(0, 4)).toString(), QStringLiteral("12.50 "));
    QCOMPARE(w.ed_courtbetrag->text(), QStringLiteral("0.00 "));
    w.btn_preview->click();
    QCOMPARE(w.ed_courtbetrag->text(), QStringLiteral("29.75 "));
    QCOMPARE(count("Abgerechnet = false"), 3); // looking writes nothing

    w.btn_abrechnen->click();
    QCOMPARE(w.ed_courtbetrag->text(), QStringLiteral("29.75 "));
    QVERIFY(!w.ed_datum->text().isEmpty());
    QVERIFY(!w.btn_abrechnen->isEnabled());
    QCOMPARE(lines->rowCount(), 3); // the lines just closed stay in view
    QCOMPARE(count("Abgerechnet = false"), 0);

    w.close();
    w.show();
    QVERIFY(w.btn_abrechnen->isEnabled());
    QCOMPARE(lines->rowCount(), 0);
    QVERIFY(w.ed_datum->text().isEmpty());
}

QTEST_MAIN(TestDailyAccount)
#include "tst_dailyaccount.moc"
