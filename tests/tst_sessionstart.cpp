#include "app/sessionstart.h"
#include "data/daycount.h"
#include "data/recordset.h"
#include "data/session.h"
#include "data/store.h"
#include "platform/registry.h"
#include "testinstallation.h"

#include <QTest>

class TestSessionStart : public QObject {
    Q_OBJECT
private slots:
    void decimalsGiveFactor_data();
    void decimalsGiveFactor();
    void activityLogKeepsThirtyDays();
    void currencyText_data();
    void currencyText();
    void cardFlagsFromFirstRow();
    void administratorLogin();
    void waitingTimeReadWithoutLightSwitching();
    void missingTableIsAStoreError();
};

void TestSessionStart::decimalsGiveFactor_data()
{
    QTest::addColumn<int>("decimals");
    QTest::addColumn<int>("factor");
    QTest::newRow("0") << 0 << 1;
    QTest::newRow("1") << 1 << 10;
    QTest::newRow("2") << 2 << 100;
    QTest::newRow("7") << 7 << 100;
    QTest::newRow("-1") << -1 << 100;
}

void TestSessionStart::decimalsGiveFactor()
{
    QFETCH(int, decimals);
    QFETCH(int, factor);
    TestInstallation installation;
    QVERIFY2(installation.isValid(), qPrintable(installation.failure()));
    TestInstallation::exec(QStringLiteral("update Kennzahlen set Nachkommastellen = ?"), {decimals});
    Session::Nachkommafaktor = 0;
    SessionStart::loadNachkommafaktor();
    QCOMPARE(Session::Nachkommafaktor, factor);
}

void TestSessionStart::activityLogKeepsThirtyDays()
{
    TestInstallation installation;
    QVERIFY(installation.isValid());
    const int today = DayCount::today();
    const double boundary = today - 30;
    const double second = 1.0 / 86400;
    const QString insert = QStringLiteral("insert into Aktivitaet (Aufzeichnung, Reservierer) values (?, ?)");
    TestInstallation::exec(insert, {boundary, QStringLiteral("at the boundary")});
    TestInstallation::exec(insert, {boundary - second, QStringLiteral("a second before")});
    TestInstallation::exec(insert, {boundary - 400, QStringLiteral("long ago")});
    TestInstallation::exec(insert, {today + 0.5, QStringLiteral("today")});

    QCOMPARE(SessionStart::trimActivityLog(today), 2);
    QCOMPARE(TestInstallation::scalar(QStringLiteral("select count(*) from Aktivitaet")).toInt(), 2);
    QCOMPARE(TestInstallation::scalar(QStringLiteral("select count(*) from Aktivitaet where Reservierer in "
                                                     "('at the boundary', 'today')"))
                 .toInt(),
             2);
}

void TestSessionStart::currencyText_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("missing") << QVariant() << QStringLiteral("US$");
    QTest::newRow("empty") << QVariant(QString()) << QStringLiteral("US$");
    QTest::newRow("set") << QVariant(QStringLiteral("EUR")) << QStringLiteral("EUR");
}

void TestSessionStart::currencyText()
{
    QFETCH(QVariant, stored);
    QFETCH(QString, shown);
    TestInstallation installation;
    QVERIFY(installation.isValid());
    if (stored.isValid())
        QVERIFY(Registry::setValue(QStringLiteral("Waehrung"), stored));
    QCOMPARE(SessionStart::currencyText(), shown);
}

void TestSessionStart::cardFlagsFromFirstRow()
{
    TestInstallation installation;
    QVERIFY(installation.isValid());
    TestInstallation::exec(
        QStringLiteral("update Kartenleser set Aktiv = 1, FuerMitglieder = 0, FuerAngestellte = 1"));
    Session::KarteFuerMitglieder = true;
    SessionStart::loadCardFlags();
    QVERIFY(Session::KartenleserAktiv);
    QVERIFY(!Session::KarteFuerMitglieder);
    QVERIFY(Session::KarteFuerAngestellte);
}

void TestSessionStart::administratorLogin()
{
    TestInstallation installation;
    QVERIFY(installation.isValid());
    Session::Benutzertyp = QStringLiteral("Employee");
    QVERIFY(!SessionStart::administratorLoginRequired());
    QCOMPARE(Session::Benutzertyp, QStringLiteral("Administrator"));
    // Only the administrator's flag counts, not an employee's.
    TestInstallation::exec(QStringLiteral("update Rechte set Login = 1 where Type <> 'Administrator'"));
    QVERIFY(!SessionStart::administratorLoginRequired());
    TestInstallation::exec(QStringLiteral("update Rechte set Login = 1 where Type = 'Administrator'"));
    QVERIFY(SessionStart::administratorLoginRequired());
}

void TestSessionStart::waitingTimeReadWithoutLightSwitching()
{
    TestInstallation installation;
    QVERIFY(installation.isValid());
    TestInstallation::exec(
        QStringLiteral("update Kennzahlen set Wartezeit = 35, Lichtschaltung = 0, ComPort = 2"));
    int restarts = 0;
    int port = -1;
    SessionStart::setRelayRestart([&](RecordSet& parameters) {
        ++restarts;
        port = parameters.field(QStringLiteral("ComPort")).asInteger();
    });
    Session::Wartezeit = 10;
    SessionStart::restoreParametersAndRelays();
    SessionStart::setRelayRestart({});
    QCOMPARE(Session::Wartezeit, 35);
    // The light control decides from the row itself whether switching is in use.
    QCOMPARE(restarts, 1);
    QCOMPARE(port, 2);
}

void TestSessionStart::missingTableIsAStoreError()
{
    TestInstallation installation;
    QVERIFY(installation.isValid());
    TestInstallation::exec(QStringLiteral("drop table Kartenleser"));
    QVERIFY_THROWS_EXCEPTION(StoreError, SessionStart::loadCardFlags());
}

QTEST_GUILESS_MAIN(TestSessionStart)
#include "tst_sessionstart.moc"
