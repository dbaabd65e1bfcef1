#include "platform/registry.h"
#include "relayline.h"
#include "testinstallation.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The program itself, started on an installation that switches its lights through relay modules:
// before the desk sees the main window, the five stored module bytes are on the line.
class TestStartLights : public QObject {
    Q_OBJECT
private slots:
    void startUpResendsTheStoredModules();
};

void TestStartLights::startUpResendsTheStoredModules()
{
    TestInstallation installation;
    QVERIFY2(installation.isValid(), qPrintable(installation.failure()));
    RelayLine line;
    QVERIFY(line.isValid());
    TestInstallation::exec("update Kennzahlen set Lichtschaltung = true, ComPort = 0, Wartezeit = 1000");
    QVERIFY(Registry::setValue(QStringLiteral("COM1"), line.device()));
    const int stored[] = {5, 0, 0x1B, 0, 0x80};
    for (int module = 1; module <= 5; ++module)
        QVERIFY(Registry::setValue(QStringLiteral("modul_%1").arg(module), stored[module - 1]));

    QTemporaryDir runtime; // a lock of its own, whatever else runs on the machine
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("COURTORIA_UNATTENDED"), QStringLiteral("1"));
    env.insert(QStringLiteral("COURTORIA_EXIT_AFTER_SHOW"), QStringLiteral("1"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(COURTORIA_PROGRAM), {});
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitCode(), 0);
    QVERIFY(program.readAllStandardOutput().contains("main window shown"));

    QVERIFY(line.waitFor(25));
    std::vector<unsigned char> expected;
    for (int module = 1; module <= 5; ++module)
        expected.insert(expected.end(),
                        {0x1B, (unsigned char)module, 0x40, (unsigned char)stored[module - 1], 0x00});
    QCOMPARE(line.values(), expected);
    // Every byte has its 20 ms on the line, and the start-up does not wait out the 1000 ms pause.
    const auto bytes = line.bytes();
    const QString fault = RelayLine::timingFault(bytes, [](std::size_t) { return 20; });
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
    QVERIFY(bytes.back().at - bytes.front().at < std::chrono::milliseconds(2000));
}

QTEST_GUILESS_MAIN(TestStartLights)
#include "tst_startlights.moc"
