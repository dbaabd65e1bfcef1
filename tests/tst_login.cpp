#include "data/rights.h"
#include "data/session.h"
#include "rightstable.h"
#include "testinstallation.h"
#include "users/login.h"
#include "users/rightsmap.h"

#include <QSet>
#include <QTest>

namespace {

QHash<QString, bool> enabledByControl(const QVector<RightsMap::ControlState>& states)
{
    QHash<QString, bool> byName;
    for (const auto& s : states)
        byName.insert(s.window + QLatin1Char('/') + s.control, s.enabled);
    return byName;
}

QString key(const GovernedControl& c)
{
    return QLatin1String(c.window) + QLatin1Char('/') + QLatin1String(c.control);
}

// The controls of the table, in its order.
QStringList tableControls()
{
    QStringList keys;
    for (const GovernedControl& c : governedControls)
        keys << key(c);
    return keys;
}

QStringList stateControls(const QVector<RightsMap::ControlState>& states)
{
    QStringList keys;
    for (const auto& s : states)
        keys << s.window + QLatin1Char('/') + s.control;
    return keys;
}

} // namespace

class TestLogin : public QObject {
    Q_OBJECT
private slots:
    void passwordCheck_data();
    void passwordCheck();
    void userNamesListEveryRow();
    void employeeWithoutCourtAdministration();
    void everyRightGovernsItsControls_data();
    void everyRightGovernsItsControls();
    void rightsApplyInTheOrderOfTheTable();
    void beforeLoginEverythingEnabled();
};

void TestLogin::passwordCheck_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("type"); // empty: no match
    QTest::newRow("administrator") << "admin"
                                   << "admin"
                                   << "Administrator";
    QTest::newRow("employee") << "Ben"
                              << "ben"
                              << "Employee";
    QTest::newRow("wrong password") << "Ben"
                                    << "anna"
                                    << "";
    QTest::newRow("password of another case") << "Ben"
                                              << "BEN"
                                              << "";
    QTest::newRow("unknown user") << "Carl"
                                  << "ben"
                                  << "";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
    QTest::newRow("quote in the name") << "Ben' or '1'='1"
                                       << "x' or '1'='1"
                                       << "";
}

void TestLogin::passwordCheck()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, type);
    TestInstallation installation;
    QVERIFY(installation.isValid());
    LoginCheck check;
    const auto found = check.check(user, password);
    QCOMPARE(found.has_value(), !type.isEmpty());
    if (found) {
        QCOMPARE(found->type, type);
        QCOMPARE(found->benutzer, user);
        Session::Benutzertyp.clear();
        beginSession(*found);
        QCOMPARE(Session::Benutzertyp, type);
    }
}

void TestLogin::userNamesListEveryRow()
{
    TestInstallation installation;
    QVERIFY(installation.isValid());
    const QStringList names = LoginCheck::userNames();
    QVERIFY(names.contains(QStringLiteral("admin")));
    QVERIFY(names.contains(QStringLiteral("Anna")));
    QVERIFY(names.contains(QStringLiteral("Ben")));
}

void TestLogin::employeeWithoutCourtAdministration()
{
    TestInstallation installation;
    QVERIFY(installation.isValid());
    LoginCheck check;
    const auto ben = check.check(QStringLiteral("Ben"), QStringLiteral("ben"));
    QVERIFY(ben);
    QVERIFY(!ben->rights.value(QStringLiteral("Tischverwaltung")));
    const auto states = enabledByControl(RightsMap::statesFor(ben->rights));
    for (const char* off : {"frm_main/mnu_courts", "frm_main/mnu_scheduler", "frm_main/mnu_schalttafel",
                            "frm_main/btn_tische", "frm_main/btn_scheduler", "frm_courts/mnu_prices",
                            "frm_courts/mnu_parameters", "frm_main/mnu_rechte"})
        QVERIFY2(!states.value(QLatin1String(off), true), off);
    for (const char* on : {"frm_main/mnu_mitglieder", "frm_main/btn_mitgliederdaten",
                           "frm_main/mnu_namensliste", "frm_main/mnu_abschluss",
                           "frm_main/btn_tagesabschluss", "frm_main/mnu_inventar", "frm_main/btn_stock"})
        QVERIFY2(states.value(QLatin1String(on), false), on);
}

void TestLogin::everyRightGovernsItsControls_data()
{
    QTest::addColumn<QString>("right");
    QTest::addColumn<QStringList>("controls");
    QStringList rights;
    QHash<QString, QStringList> controls;
    for (const GovernedControl& c : governedControls) {
        const QString right = QLatin1String(c.right);
        if (!rights.contains(right))
            rights << right;
        controls[right] << key(c);
    }
    for (const QString& right : rights)
        QTest::newRow(qPrintable(right)) << right << controls.value(right);
}

void TestLogin::everyRightGovernsItsControls()
{
    QFETCH(QString, right);
    QFETCH(QStringList, controls);
    // The right alone enables exactly its controls ...
    QHash<QString, bool> only;
    only.insert(right, true);
    const auto alone = enabledByControl(RightsMap::statesFor(only));
    QStringList enabled;
    for (auto it = alone.cbegin(); it != alone.cend(); ++it)
        if (it.value())
            enabled << it.key();
    enabled.sort();
    controls.sort();
    QCOMPARE(enabled, controls);
    // ... and every other right without it leaves exactly those disabled.
    QHash<QString, bool> allButOne;
    for (const QString& other : rightFields)
        allButOne.insert(other, other != right);
    QStringList disabled;
    for (const auto& s : RightsMap::statesFor(allButOne))
        if (!s.enabled)
            disabled << s.window + QLatin1Char('/') + s.control;
    disabled.sort();
    QCOMPARE(disabled, controls);
}

void TestLogin::rightsApplyInTheOrderOfTheTable()
{
    // The program's list of rights is the table's, row by row.
    QStringList tableRights;
    for (const GovernedControl& c : governedControls)
        if (!tableRights.contains(QLatin1String(c.right)))
            tableRights << QLatin1String(c.right);
    QCOMPARE(QStringList(rightFields.begin(), rightFields.end()), tableRights);

    // Every governed control once, no other, and a row's controls before the next row's.
    const QStringList applied = stateControls(RightsMap::allEnabled());
    QCOMPARE(applied.size(), int(std::size(governedControls)));
    QCOMPARE(QSet<QString>(applied.begin(), applied.end()).size(), applied.size());
    const QStringList table = tableControls();
    int lastRow = -1;
    for (const QString& control : applied) {
        const int at = int(table.indexOf(control));
        QVERIFY2(at >= 0, qPrintable(control));
        const int row = int(tableRights.indexOf(QLatin1String(governedControls[at].right)));
        QVERIFY2(row >= lastRow, qPrintable(control));
        lastRow = row;
    }
}

void TestLogin::beforeLoginEverythingEnabled()
{
    const auto states = RightsMap::allEnabled();
    QStringList controls = stateControls(states);
    QStringList table = tableControls();
    controls.sort();
    table.sort();
    QCOMPARE(controls, table);
    for (const auto& s : states)
        QVERIFY(s.enabled);
}

QTEST_GUILESS_MAIN(TestLogin)
#include "tst_login.moc"
