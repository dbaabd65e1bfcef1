#include "app/sessionstart.h"
#include "data/daycount.h"
#include "data/recordset.h"
#include "data/session.h"
#include "data/store.h"
#include "platform/messages.h"
#include "platform/registry.h"
#include "silentport.h"
#include "testinstallation.h"
#include "testserver.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

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
    void storeReachedBeforeTheSteps_data();
    void storeReachedBeforeTheSteps();
    void programEndsWhenTheServerDoesNotAnswer();
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

void TestSessionStart::storeReachedBeforeTheSteps_data()
{
    QTest::addColumn<QString>("store");
    QTest::addColumn<QList<bool>>("retries"); // the answers to the questions asked, in order
    QTest::addColumn<bool>("reached");
    QTest::addColumn<QString>("words"); // the server's own, in every question
    QTest::newRow("the desk's SQLite file") << "sqlite" << QList<bool>{} << true << QString();
    // The steps that follow show a missing file as they always have, and the program runs on.
    QTest::newRow("a missing SQLite file") << "missing" << QList<bool>{} << true << QString();
    QTest::newRow("a reachable server") << "server" << QList<bool>{} << true << QString();
    const QString absent = "No such file or directory";
    QTest::newRow("no server, quit") << "nowhere" << QList<bool>{false} << false << absent;
    QTest::newRow("no server, retry, quit") << "nowhere" << QList<bool>{true, false} << false << absent;
    QTest::newRow("no server, retry once it is there")
        << "nowhere, then server" << QList<bool>{true} << true << absent;
    // Bounded by the connect timeout, not by the operating system's minutes.
    QTest::newRow("a server that hangs, quit")
        << "silent" << QList<bool>{false} << false << "timeout expired";
}

void TestSessionStart::storeReachedBeforeTheSteps()
{
    QFETCH(QString, store);
    QFETCH(QList<bool>, retries);
    QFETCH(bool, reached);
    QFETCH(QString, words);
    const bool needsServer = store.contains(QLatin1String("server"));
    if (needsServer && !TestDatabase::serverAvailable())
        QSKIP("no test server (COURTORIA_TEST_SERVER)");
    TestInstallation installation;
    QVERIFY(installation.isValid());
    std::unique_ptr<TestDatabase> server;
    if (needsServer) {
        server = std::make_unique<TestDatabase>();
        QVERIFY2(server->isValid(), qPrintable(server->failure()));
    }
    // A socket folder of its own where no server listens.
    QTemporaryDir nowhere;
    const QString unreachable =
        QStringLiteral("postgresql:host=%1 user=courtoria dbname=hall").arg(nowhere.path());
    if (store == QLatin1String("missing"))
        QVERIFY(QFile::remove(installation.databaseFile()));
    if (store == QLatin1String("server"))
        QVERIFY(Registry::setValue(QStringLiteral("Datenbank"),
                                   QStringLiteral("postgresql:") + server->connectionString()));
    if (store.startsWith(QLatin1String("nowhere")))
        QVERIFY(Registry::setValue(QStringLiteral("Datenbank"), unreachable));
    SilentPort silent;
    QVERIFY(silent.port() > 0);
    const QString hanging =
        QStringLiteral("postgresql:host=127.0.0.1 port=%1 user=courtoria dbname=hall sslmode=disable")
            .arg(silent.port());
    if (store == QLatin1String("silent"))
        QVERIFY(Registry::setValue(QStringLiteral("Datenbank"), hanging));

    struct Question {
        Messages::Kind kind;
        QString text;
        qint64 waited;
    };
    QList<Question> asked;
    QElapsedTimer clock;
    clock.start();
    Messages::setHandler([&](Messages::Kind kind, const QString& text) {
        asked << Question{kind, text, clock.restart()};
        const bool retry = retries.value(asked.size() - 1, false);
        if (retry && server)
            Registry::setValue(QStringLiteral("Datenbank"),
                               QStringLiteral("postgresql:") + server->connectionString());
        return retry ? Messages::Answer::Yes : Messages::Answer::No;
    });
    const bool result = SessionStart::reachStore();
    Messages::setHandler({});
    QCOMPARE(result, reached);
    QCOMPARE(asked.size(), retries.size());
    for (const Question& q : asked) {
        QCOMPARE(q.kind, Messages::Kind::RetryQuestion);
        // The server's own words, where it was looked for, and the choice.
        QVERIFY2(
            q.text.contains(store == QLatin1String("silent") ? QStringLiteral("127.0.0.1") : nowhere.path()),
            qPrintable(q.text));
        QVERIFY2(q.text.contains(words), qPrintable(q.text));
        QVERIFY2(q.text.contains(QLatin1String("Retry")) && q.text.contains(QLatin1String("Quit")),
                 qPrintable(q.text));
        QVERIFY2(q.waited < 6000, qPrintable(QString::number(q.waited)));
        if (store == QLatin1String("silent")) // it did hang, until the timeout ended the wait
            QVERIFY2(q.waited >= 4000, qPrintable(QString::number(q.waited)));
    }
    QCOMPARE(QSqlDatabase::database(QString::fromLatin1(Store::connectionName), false).isOpen(),
             reached && store != QLatin1String("missing"));
    if (reached && needsServer)
        QCOMPARE(Store::engine(), Engine::PostgreSQL);
    Store::close();
}

void TestSessionStart::programEndsWhenTheServerDoesNotAnswer()
{
    TestInstallation installation;
    QVERIFY(installation.isValid());
    QTemporaryDir nowhere;
    QTemporaryDir runtime;
    QVERIFY(Registry::setValue(
        QStringLiteral("Datenbank"),
        QStringLiteral("postgresql:host=%1 user=courtoria dbname=hall").arg(nowhere.path())));
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // Unattended, every question is answered as by a closed box: Quit.
    env.insert(QStringLiteral("COURTORIA_UNATTENDED"), QStringLiteral("1"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.remove(QStringLiteral("COURTORIA_EXIT_AFTER_SHOW"));
    program.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    program.start(QStringLiteral(COURTORIA_PROGRAM), {});
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0); // as after a failed log-in
    QVERIFY2(clock.elapsed() < 15000, qPrintable(QString::number(clock.elapsed())));
    const QString said = QString::fromLocal8Bit(program.readAllStandardError());
    QCOMPARE(said.count(QLatin1String("does not answer")), 1);
    QVERIFY2(said.contains(QLatin1String("No such file or directory")), qPrintable(said));
}

QTEST_GUILESS_MAIN(TestSessionStart)
#include "tst_sessionstart.moc"
