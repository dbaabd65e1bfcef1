#include "answers.h"
#include "data/daycount.h"
#include "data/recordset.h"
#include "testinstallation.h"
#include "ui/recordgrid.h"
#include "ui/recordnavigator.h"
#include "users/login.h"
#include "users/u_aktivitaeten.h"
#include "users/u_benutzerrechte.h"

#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

template <typename T> T* child(QWidget* window, const char* name)
{
    return window->findChild<T*>(QLatin1String(name));
}

bool right(const QString& user, const QString& field)
{
    return TestInstallation::scalar(QStringLiteral("select %1 from Rechte where Benutzer = ?").arg(field),
                                    {user})
        .toBool();
}

} // namespace

class TestUsers : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void administratorTakeOverEndsTheStartUpLogIn();
    void employeeRightsTakeEffectAtTheNextLogIn();
    void movingOnKeepsAChangeClosingDropsIt();
    void activitiesNewestFirst();

private:
    std::unique_ptr<TestInstallation> installation;
};

void TestUsers::init()
{
    installation = std::make_unique<TestInstallation>();
    QVERIFY2(installation->isValid(), qPrintable(installation->failure()));
}

void TestUsers::cleanup()
{
    installation.reset();
}

void TestUsers::administratorTakeOverEndsTheStartUpLogIn()
{
    TestInstallation::exec("update Rechte set Login = true where Type = 'Administrator'");
    Tfrm_benutzerrechte w;
    w.show();
    auto* login = child<QCheckBox>(&w, "DBCheckBox1");
    auto* password = child<QLineEdit>(&w, "DBEdit1");
    QVERIFY(login && password);
    QVERIFY(login->isChecked());
    QCOMPARE(password->text(), QStringLiteral("admin"));
    login->setChecked(false);
    password->setText(QStringLiteral("s3cret"));
    child<QPushButton>(&w, "btn_takeover1")->click();
    QCOMPARE(TestInstallation::scalar("select case when Login then '1' else '0' end || Passwort from Rechte "
                                      "where Type = 'Administrator'")
                 .toString(),
             QStringLiteral("0s3cret"));
    // The administrator is never among the employees.
    QVERIFY(!w.qry_user->findKey(QStringLiteral("admin")));
    for (w.qry_user->first(); !w.qry_user->eof(); w.qry_user->next())
        QVERIFY(w.qry_user->field(QStringLiteral("Type")).asString() != QStringLiteral("Administrator"));
}

void TestUsers::employeeRightsTakeEffectAtTheNextLogIn()
{
    QVERIFY(right("Anna", "Tischverwaltung"));
    Tfrm_benutzerrechte w;
    w.show();
    QCOMPARE(child<QLineEdit>(&w, "DBEdit3")->text(), QStringLiteral("Anna"));
    auto* courts = child<QCheckBox>(&w, "dbc_21");
    QCOMPARE(courts->text(), QStringLiteral("Courtadministration"));
    QVERIFY(courts->isChecked());
    courts->setChecked(false);
    child<QPushButton>(&w, "btn_takeover2")->click();
    QVERIFY(!right("Anna", "Tischverwaltung"));
    LoginCheck check;
    const auto anna = check.check(QStringLiteral("Anna"), QStringLiteral("anna"));
    QVERIFY(anna);
    QVERIFY(!anna->rights.value(QStringLiteral("Tischverwaltung"), true));
    // The right that comes only with the installation is not offered.
    QVERIFY(!w.findChild<QCheckBox*>(QString(), Qt::FindChildrenRecursively)->text().contains("Userrights"));
    const auto boxes = child<QWidget>(&w, "gb_menue")->findChildren<QCheckBox*>();
    QCOMPARE(boxes.size(), 15);
}

void TestUsers::movingOnKeepsAChangeClosingDropsIt()
{
    Tfrm_benutzerrechte w;
    w.show();
    auto* password = child<QLineEdit>(&w, "DBEdit2");
    password->setText(QStringLiteral("moved"));
    w.DBNavigator1->button(RecordNavigator::Next)->click();
    QCOMPARE(TestInstallation::scalar("select Passwort from Rechte where Benutzer = 'Anna'").toString(),
             QStringLiteral("moved"));
    QCOMPARE(child<QLineEdit>(&w, "DBEdit3")->text(), QStringLiteral("Ben"));
    password->setText(QStringLiteral("dropped"));
    child<QCheckBox>(&w, "dbc_9")->setChecked(!child<QCheckBox>(&w, "dbc_9")->isChecked());
    w.close();
    QCOMPARE(TestInstallation::scalar("select Passwort from Rechte where Benutzer = 'Ben'").toString(),
             QStringLiteral("ben"));
    // Shown again, the window reads the rows afresh.
    w.show();
    QCOMPARE(child<QLineEdit>(&w, "DBEdit3")->text(), QStringLiteral("Anna"));
    QCOMPARE(password->text(), QStringLiteral("moved"));
}

void TestUsers::activitiesNewestFirst()
{
    Tfrm_aktivitaeten w;
    w.show();
    QCOMPARE(w.DBGrid1->model()->rowCount(), 0);
    w.close();
    const double moment = DayCount::fromDate(QDate(2026, 12, 1)) + 0.5;
    const QVariantList rows[] = {{moment - 0.1, 46000, 2, "older", "10:00 am", 4},
                                 {moment, 46003, 5, "same second, later day", "11:00 am", 2},
                                 {moment, 46001, 7, "same second, earlier day", "09:15 am", 1},
                                 {moment, 46001, 3, "same day, lower court", "09:00 am", 8}};
    for (const QVariantList& r : rows)
        TestInstallation::exec(
            "insert into Aktivitaet (Aufzeichnung, Datum, Platz, Reservierer, Startzeit, Laufzeit) "
            "values (?, ?, ?, ?, ?, ?)",
            r);
    w.show();
    QAccessibleTableInterface* table = QAccessible::queryAccessibleInterface(w.DBGrid1)->tableInterface();
    QVERIFY(table);
    QCOMPARE(table->rowCount(), 4);
    QStringList order;
    for (int row = 0; row < 4; ++row)
        order << table->cellAt(row, 3)->text(QAccessible::Name);
    QCOMPARE(order, (QStringList{"same day, lower court", "same second, earlier day",
                                 "same second, later day", "older"}));
    QCOMPARE(table->columnDescription(0), QStringLiteral("Cancel Date"));
    QCOMPARE(table->columnDescription(5), QStringLiteral("Quaters"));
    QCOMPARE(table->cellAt(0, 4)->text(QAccessible::Name), QStringLiteral("09:00 am"));
    QVERIFY(w.qry_aktivitaeten->isReadOnly());
}

QTEST_MAIN(TestUsers)
#include "tst_users.moc"
