#include "data/rights.h"
#include "data/session.h"
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

} // namespace

class TestLogin : public QObject {
    Q_OBJECT
private slots:
    void passwordCheck_data();
    void passwordCheck();
    void userNamesListEveryRow();
    void employeeWithoutCourtAdministration();
    void everyRightGovernsItsControls();
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

void TestLogin::everyRightGovernsItsControls()
{
    // Each right switched on alone enables exactly its own controls; the map knows them all.
    QSet<QString> seenRights;
    for (const QString& right : rightFields) {
        QHash<QString, bool> rights;
        rights.insert(right, true);
        int enabled = 0;
        for (const auto& s : RightsMap::statesFor(rights))
            if (s.enabled)
                ++enabled;
        int expected = 0;
        for (const auto& c : RightsMap::controls())
            if (c.right == right) {
                ++expected;
                seenRights.insert(c.right);
            }
        QVERIFY2(expected > 0, qPrintable(right));
        QCOMPARE(enabled, expected);
    }
    QCOMPARE(seenRights.size(), int(rightFields.size()));
    QCOMPARE(RightsMap::controls().size(), 29);
    // Applied in the order of the rights.
    int last = -1;
    for (const auto& c : RightsMap::controls()) {
        const int position =
            int(std::find(rightFields.begin(), rightFields.end(), c.right) - rightFields.begin());
        QVERIFY(position >= last);
        last = position;
    }
}

void TestLogin::beforeLoginEverythingEnabled()
{
    const auto states = RightsMap::allEnabled();
    QCOMPARE(states.size(), RightsMap::controls().size());
    for (const auto& s : states)
        QVERIFY(s.enabled);
}

QTEST_GUILESS_MAIN(TestLogin)
#include "tst_login.moc"
