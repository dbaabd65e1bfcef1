#include "answers.h"
#include "billing/courtbilling.h"
#include "courts/u_kenngroessen.h"
#include "data/calculations.h"
#include "data/recordset.h"
#include "data/session.h"
#include "testinstallation.h"
#include "ui/fieldcontrols.h"
#include "ui/fieldform.h"
#include "ui/recordgrid.h"

#include <QLineEdit>
#include <QTest>

class TestParameters : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void decimalsTakeEffectOnClosing();
    void typedPercentageIsStoredOnClosingAndNoHourIsAdded();
    void receiptNumberFollowsTheBillId();

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

QTEST_MAIN(TestParameters)
#include "tst_parameters.moc"
