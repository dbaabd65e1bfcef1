#include "answers.h"
#include "billing/u_abschluesse.h"
#include "data/daycount.h"
#include "data/recordset.h"
#include "data/session.h"
#include "testinstallation.h"
#include "ui/recordgrid.h"

#include <QDateEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace {

const int firstDay = DayCount::fromDate(QDate(2026, 3, 1));

// Accounts 1 to 5, closed at 23:59 of five days in a row, each with two bills; and one open bill.
void closeFiveDays()
{
    for (int account = 1; account <= 5; ++account)
        for (int court : {2, 1})
            TestInstallation::exec(
                "insert into Tischabrechnung (Tischnummer, Einschreibdatum, Betrag, "
                "DrinksundSnacks, Abgerechnet, Abrechnungsfolge, Abrechnungsdatum, Startzeit, "
                "Quaters, Reservierer) values (?, ?, ?, 0, true, ?, ?, ?, 4, 'x')",
                {court, firstDay + account - 1 + 0.5, account * 10 + court, account,
                 firstDay + account - 1 + 23.99 / 24, firstDay + account - 1 + 0.4});
    TestInstallation::exec(
        "insert into Tischabrechnung (Tischnummer, Betrag, Abgerechnet) values (3, 7, false)");
}

int accounts()
{
    return TestInstallation::scalar(
               "select count(distinct Abrechnungsfolge) from Tischabrechnung where Abgerechnet")
        .toInt();
}

} // namespace

class TestAccounts : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void newestFirstWithLinesAndSum();
    void deletingKeepsTheChosenDayAndOpenBills();
    void billsOfAnAccountFillThePage();

private:
    std::unique_ptr<TestInstallation> installation;
};

void TestAccounts::init()
{
    installation = std::make_unique<TestInstallation>();
    QVERIFY2(installation->isValid(), qPrintable(installation->failure()));
    Session::Nachkommafaktor = 100;
    closeFiveDays();
}

void TestAccounts::cleanup()
{
    installation.reset();
}

void TestAccounts::newestFirstWithLinesAndSum()
{
    Tfrm_abschluesse w;
    w.show();
    QAbstractItemModel* list = w.DBGrid1->model();
    QCOMPARE(list->rowCount(), 5);
    QCOMPARE(list->data(list->index(0, 0)).toInt(), 5);
    QAbstractItemModel* lines = w.dgr_abschluss->model();
    QCOMPARE(lines->rowCount(), 2);
    QCOMPARE(lines->data(lines->index(0, 0)).toInt(), 1); // by court
    QCOMPARE(lines->data(lines->index(0, 4)).toString(), QStringLiteral("51.00 "));
    QCOMPARE(w.ed_tischbetrag->text(), QStringLiteral("103.00 "));
    w.qry_folge->moveTo(2);
    QCOMPARE(lines->rowCount(), 2);
    QCOMPARE(lines->data(lines->index(1, 4)).toString(), QStringLiteral("32.00 "));
    QCOMPARE(w.ed_tischbetrag->text(), QStringLiteral("63.00 "));
}

void TestAccounts::deletingKeepsTheChosenDayAndOpenBills()
{
    Tfrm_abschluesse w;
    w.show();
    w.dt_loeschen->setDate(DayCount::toDate(firstDay + 3)); // the day account 4 was closed
    Answers answers;
    w.BitBtn2->click();
    QCOMPARE(answers.asked, QStringList{QStringLiteral("Delete daily accounts older than date ?")});
    QCOMPARE(answers.kinds, QList<Messages::Kind>{Messages::Kind::InformationQuestion});
    QCOMPARE(accounts(), 5); // No keeps everything

    answers.answer = Messages::Answer::Yes;
    answers.asked.clear();
    QTest::keyClick(w.dt_loeschen, Qt::Key_Escape); // Esc asks on this page
    QCOMPARE(answers.asked.size(), 1);
    QCOMPARE(accounts(), 2);
    QCOMPARE(
        TestInstallation::column("select distinct Abrechnungsfolge from Tischabrechnung where Abgerechnet "
                                 "order by 1"),
        QStringList({"4", "5"}));
    QCOMPARE(TestInstallation::scalar("select count(*) from Tischabrechnung where not Abgerechnet").toInt(),
             1);
    QCOMPARE(w.DBGrid1->model()->rowCount(), 2);
    QCOMPARE(w.ed_tischbetrag->text(), QStringLiteral("103.00 "));

    // On the other pages Esc asks nothing.
    w.pc->setCurrentWidget(w.ts_print);
    answers.asked.clear();
    QTest::keyClick(w.ed_vondatum, Qt::Key_Escape);
    QVERIFY(answers.asked.isEmpty());
}

void TestAccounts::billsOfAnAccountFillThePage()
{
    for (int court = 1; court <= 12; ++court)
        TestInstallation::exec(
            "insert into Tischabrechnung (Tischnummer, Einschreibdatum, Betrag, Abgerechnet, "
            "Abrechnungsfolge, Abrechnungsdatum, Quaters, Reservierer) "
            "values (?, ?, 10, true, 6, ?, 4, 'y')",
            {court, firstDay + 5.5, firstDay + 5.9});
    Tfrm_abschluesse w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.dgr_abschluss->model()->rowCount(), 12);
    // At its first size the window shows ten of them without scrolling, not a few rows in a strip.
    const int rows =
        w.dgr_abschluss->viewport()->height() / w.dgr_abschluss->verticalHeader()->defaultSectionSize();
    QVERIFY2(rows >= 10, qPrintable(QString::number(rows)));
}

QTEST_MAIN(TestAccounts)
#include "tst_accounts.moc"
