#include "answers.h"
#include "billing/courtbilling.h"
#include "courts/u_kenngroessen.h"
#include "data/calculations.h"
#include "data/recordset.h"
#include "data/session.h"
#include "data/store.h"
#include "testinstallation.h"
#include "ui/fieldcontrols.h"
#include "ui/fieldform.h"
#include "ui/recordgrid.h"
#include "ui/recordnavigator.h"

#include <QApplication>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTest>
#include <QToolButton>

class TestParameters : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void decimalsTakeEffectOnClosing();
    void typedPercentageIsStoredOnClosingAndNoHourIsAdded();
    void receiptNumberFollowsTheBillId();
    void weekdayCellsTakeDigitsOnly_data();
    void weekdayCellsTakeDigitsOnly();

private:
    std::unique_ptr<TestInstallation> installation;
};

void TestParameters::init()
{
    installation = std::make_unique<TestInstallation>();
    QVERIFY2(installation->isValid(), qPrintable(installation->failure()));
    TestInstallation::exec("update Kennzahlen set Nachkommastellen = 2");
    Session::Nachkommafaktor = 100;
}

void TestParameters::cleanup()
{
    installation.reset();
}

void TestParameters::decimalsTakeEffectOnClosing()
{
    Tfrm_kenngroessen w;
    w.show();
    auto* decimals = qobject_cast<ChoiceBox*>(w.parameterFields->control(QStringLiteral("DBComboBox2")));
    QVERIFY(decimals);
    QCOMPARE(decimals->currentText(), QStringLiteral("2"));
    decimals->setCurrentIndex(decimals->findText(QStringLiteral("0")));
    w.close();
    QCOMPARE(TestInstallation::scalar("select Nachkommastellen from Kennzahlen").toInt(), 0);
    QCOMPARE(Session::Nachkommafaktor, 1);
    QCOMPARE(fRunden(2.5), 2.0);
}

void TestParameters::typedPercentageIsStoredOnClosingAndNoHourIsAdded()
{
    Tfrm_kenngroessen w;
    w.show();
    QAbstractItemModel* profile = w.dgr_profil->model();
    QCOMPARE(profile->rowCount(), 24);
    QCOMPARE(profile->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Hour"));
    QCOMPARE(profile->headerData(7, Qt::Horizontal).toString(), QStringLiteral("Su"));
    QCOMPARE(profile->data(profile->index(18, 0)).toString(),
             TestInstallation::scalar("select Stunde_e from Preisprofil where Stundenindex = 19").toString());
    QVERIFY(!(profile->flags(profile->index(18, 0)) & Qt::ItemIsEditable)); // hours stay as installed
    QVERIFY(profile->setData(profile->index(18, 1), 150));                  // Monday
    Answers answers;
    QVERIFY(!w.tbl_preisprofil->append());
    QVERIFY(answers.asked.isEmpty());
    w.close();
    QCOMPARE(TestInstallation::scalar("select Montag from Preisprofil where Stundenindex = 19").toInt(), 150);
    QCOMPARE(TestInstallation::scalar("select count(*) from Preisprofil").toInt(), 24);
}

void TestParameters::receiptNumberFollowsTheBillId()
{
    Tfrm_kenngroessen w;
    w.show();
    auto* billId = qobject_cast<QLineEdit*>(w.parameterFields->control(QStringLiteral("DBEdit7")));
    QVERIFY(billId);
    billId->setText(QStringLiteral("99"));
    w.close();
    QCOMPARE(CourtBilling::readParameters(true).belegnummer, 100);
}

void TestParameters::weekdayCellsTakeDigitsOnly_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored");
    QTest::newRow("a letter O for a zero") << "1O0" << 10;
    QTest::newRow("a decimal point") << "62.5" << 625;
    QTest::newRow("a sign") << "-50" << 50;
    QTest::newRow("more than 999") << "1000" << 100;
}

void TestParameters::weekdayCellsTakeDigitsOnly()
{
    QFETCH(QString, typed);
    QFETCH(int, stored);
    Tfrm_kenngroessen w;
    w.show();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    RecordGrid* grid = w.dgr_profil;
    const QModelIndex monday = grid->model()->index(18, 1);
    grid->setFocus();
    grid->setCurrentIndex(monday);
    grid->edit(monday);
    QLineEdit* cell = grid->viewport()->findChild<QLineEdit*>();
    QVERIFY(cell);
    cell->selectAll();
    QTest::keyClicks(cell, typed);
    // Typing into the cell starts editing the hour: the navigator can post or cancel it.
    QToolButton* post = w.DBNavigator2->button(RecordNavigator::Post);
    QVERIFY(post->isEnabled());
    QTest::mouseClick(post, Qt::LeftButton);
    QSqlQuery row(Store::database());
    // SQLite keeps any value in any column: the value itself must be an integer. The server's
    // column takes integers only.
    const char* typeOf = Store::engine() == Engine::SQLite ? "typeof(Montag)" : "pg_typeof(Montag)::text";
    QVERIFY(row.exec(QStringLiteral("select %1, Montag from Preisprofil where Stundenindex = 19")
                         .arg(QLatin1String(typeOf))));
    QVERIFY(row.next());
    QCOMPARE(row.value(0).toString(), QStringLiteral("integer"));
    QCOMPARE(row.value(1).toInt(), stored);
}

QTEST_MAIN(TestParameters)
#include "tst_parameters.moc"
