#include "data/recordset.h"
#include "data/session.h"
#include "data/store.h"
#include "lights/relaylink.h"
#include "lights/relays.h"
#include "platform/registry.h"
#include "relayinstallation.h"
#include "testinstallation.h"

#include <QElapsedTimer>
#include <QTest>

using Bytes = std::vector<unsigned char>;
using Modules = std::array<quint8, 5>;
Q_DECLARE_METATYPE(Bytes)
Q_DECLARE_METATYPE(Modules)

namespace {

Bytes frame(unsigned char module, unsigned char value)
{
    return {0x1B, module, 0x40, value, 0x00};
}

Bytes frames(const Modules& values)
{
    Bytes all;
    for (unsigned char m = 1; m <= 5; ++m) {
        const Bytes one = frame(m, values[m - 1]);
        all.insert(all.end(), one.begin(), one.end());
    }
    return all;
}

Modules storedModules()
{
    Modules values{};
    for (int m = 1; m <= 5; ++m)
        values[std::size_t(m - 1)] = quint8(Registry::value(QStringLiteral("modul_%1").arg(m), -1).toInt());
    return values;
}

double milliseconds(RelayLine::Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

} // namespace

// The relay protocol on a pseudo-terminal read from its other end, as the modules see it.
class TestRelay : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void lineSettings();
    void switchSendsModuleFrame_data();
    void switchSendsModuleFrame();
    void outputsOutsideRangeOnlyPause_data();
    void outputsOutsideRangeOnlyPause();
    void pauseRule_data();
    void pauseRule();
    void everyByteGetsItsTwentyMilliseconds();
    void groupOperationsSendAllFiveModules_data();
    void groupOperationsSendAllFiveModules();
    void closedLinkStillUpdatesState();
    void loadKeepsEachModuleApart();
    void portFailuresCarryTheirTextAndNumber();
    void restartResendsStoredBytesWithoutPause();
    void restartRetriesWithChangedPortAndLoadsOnce();
    void restartTouchesNothing_data();
    void restartTouchesNothing();

private:
    std::unique_ptr<RelayInstallation> hall_;
    RelayLine* line_ = nullptr;
};

void TestRelay::init()
{
    hall_ = std::make_unique<RelayInstallation>();
    QVERIFY2(hall_->isValid(), qPrintable(hall_->installation.failure()));
    line_ = &hall_->line;
}

void TestRelay::cleanup()
{
    line_ = nullptr;
    hall_.reset();
}

void TestRelay::lineSettings()
{
    line_->misconfigure();
    const termios before = line_->settings();
    QCOMPARE(cfgetospeed(&before), speed_t(B300));
    Relays::link().open(0);
    const termios line = line_->settings();
    QCOMPARE(cfgetospeed(&line), speed_t(B9600));
    QCOMPARE(cfgetispeed(&line), speed_t(B9600));
    QCOMPARE(line.c_cflag & CSIZE, tcflag_t(CS8));
    QCOMPARE(line.c_cflag & PARENB, tcflag_t(0));
    QCOMPARE(line.c_cflag & CSTOPB, tcflag_t(CSTOPB));
    QCOMPARE(line.c_cflag & CRTSCTS, tcflag_t(0));
    QCOMPARE(line.c_iflag & (IXON | IXOFF), tcflag_t(0));
}

void TestRelay::switchSendsModuleFrame_data()
{
    QTest::addColumn<Modules>("before");
    QTest::addColumn<bool>("on");
    QTest::addColumn<int>("output");
    QTest::addColumn<Bytes>("sent");
    QTest::addColumn<int>("module");
    QTest::addColumn<int>("stored");
    QTest::newRow("9 on from all off") << Modules{} << true << 9 << frame(2, 0x01) << 2 << 1;
    QTest::newRow("16 on after 9") << Modules{0, 0x01, 0, 0, 0} << true << 16 << frame(2, 0x81) << 2 << 0x81;
    QTest::newRow("40 is module 5 bit 7") << Modules{} << true << 40 << frame(5, 0x80) << 5 << 0x80;
    QTest::newRow("1 is module 1 bit 0")
        << Modules{0, 0xFF, 0, 0, 0} << true << 1 << frame(1, 0x01) << 1 << 1;
    QTest::newRow("3 off on FF") << Modules{0xFF, 0, 0, 0, 0} << false << 3 << frame(1, 0xFB) << 1 << 0xFB;
    QTest::newRow("already on re-sends")
        << Modules{0, 0, 0x11, 0, 0} << true << 17 << frame(3, 0x11) << 3 << 0x11;
    QTest::newRow("1B goes out unescaped")
        << Modules{0x1A, 0, 0, 0, 0} << true << 1 << frame(1, 0x1B) << 1 << 0x1B;
    QTest::newRow("00 goes out unescaped")
        << Modules{0, 0x01, 0, 0, 0} << false << 9 << frame(2, 0x00) << 2 << 0;
}

void TestRelay::switchSendsModuleFrame()
{
    QFETCH(Modules, before);
    QFETCH(bool, on);
    QFETCH(int, output);
    QFETCH(Bytes, sent);
    QFETCH(int, module);
    QFETCH(int, stored);
    Relays::link().open(0);
    Session::Modulzustand = before;
    on ? fLichtEin(output) : fLichtAus(output);
    QVERIFY(line_->waitFor(sent.size()));
    QTest::qWait(30);
    QCOMPARE(line_->values(), sent);
    Modules after = before;
    after[std::size_t(module - 1)] = quint8(stored);
    QCOMPARE(Session::Modulzustand, after);
    QCOMPARE(Registry::value(QStringLiteral("modul_%1").arg(module)).toInt(), stored);
    // Only the switched module is written.
    for (int m = 1; m <= 5; ++m)
        if (m != module)
            QVERIFY(!Registry::value(QStringLiteral("modul_%1").arg(m)).isValid());
}

void TestRelay::outputsOutsideRangeOnlyPause_data()
{
    QTest::addColumn<int>("output");
    QTest::newRow("0") << 0;
    QTest::newRow("41") << 41;
    QTest::newRow("-8") << -8;
}

void TestRelay::outputsOutsideRangeOnlyPause()
{
    QFETCH(int, output);
    Relays::link().open(0);
    Session::Wartezeit = 60;
    Session::Modulzustand = {1, 2, 3, 4, 5};
    QElapsedTimer clock;
    clock.start();
    fLichtEin(output);
    fLichtAus(output);
    QVERIFY(clock.elapsed() >= 120);
    QTest::qWait(50);
    QVERIFY(line_->bytes().empty());
    QCOMPARE(Session::Modulzustand, (Modules{1, 2, 3, 4, 5}));
    for (int m = 1; m <= 5; ++m)
        QVERIFY(!Registry::value(QStringLiteral("modul_%1").arg(m)).isValid());
}

void TestRelay::pauseRule_data()
{
    QTest::addColumn<int>("wartezeit");
    QTest::addColumn<int>("pause");
    QTest::newRow("0") << 0 << 10;
    QTest::newRow("4") << 4 << 10;
    QTest::newRow("1001") << 1001 << 10;
    QTest::newRow("-5") << -5 << 10;
    QTest::newRow("5") << 5 << 5;
    QTest::newRow("70") << 70 << 70;
    QTest::newRow("1000") << 1000 << 1000;
}

void TestRelay::pauseRule()
{
    QFETCH(int, wartezeit);
    QFETCH(int, pause);
    Session::Wartezeit = wartezeit;
    QCOMPARE(Relays::framePause(), pause);
    // The pause is really taken, and no other: an invalid output does nothing else.
    QElapsedTimer clock;
    clock.start();
    fLichtEin(0);
    const qint64 took = clock.elapsed();
    QVERIFY2(took >= pause, qPrintable(QString::number(took)));
    QVERIFY2(took < pause + 40, qPrintable(QString::number(took)));
}

void TestRelay::everyByteGetsItsTwentyMilliseconds()
{
    Relays::link().open(0);
    Session::Wartezeit = 50;
    const auto start = RelayLine::Clock::now();
    fLichtEin(12);
    const auto end = RelayLine::Clock::now();
    fLichtEin(13);
    QVERIFY(line_->waitFor(10));
    const auto bytes = line_->bytes();
    QCOMPARE(bytes.size(), std::size_t(10));
    // The pause, the purge's 20 ms, then every byte 20 ms after the one before.
    QVERIFY(milliseconds(bytes[0].at - start) >= 50 + 20 - 2);
    const QString fault =
        RelayLine::timingFault(bytes, [](std::size_t i) { return i == 5 ? 20 + 50 + 20 : 20; });
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
    // One switch holds the caller for the pause plus six times 20 ms.
    QVERIFY(milliseconds(end - start) >= 50 + 120);
}

void TestRelay::groupOperationsSendAllFiveModules_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<Modules>("before");
    QTest::addColumn<Modules>("after");
    QTest::newRow("group 2 on") << QStringLiteral("on 2") << Modules{} << Modules{0x04, 0x08, 0, 0, 0};
    QTest::newRow("group 2 off") << QStringLiteral("off 2") << Modules{0xFF, 0xFF, 0x0F, 0, 0x80}
                                 << Modules{0xFB, 0xF7, 0x0F, 0, 0x80};
    QTest::newRow("empty group off re-sends unchanged")
        << QStringLiteral("off 4") << Modules{1, 2, 3, 4, 5} << Modules{1, 2, 3, 4, 5};
    QTest::newRow("all on") << QStringLiteral("all on") << Modules{0, 1, 0, 0x80, 0}
                            << Modules{255, 255, 255, 255, 255};
    QTest::newRow("all off") << QStringLiteral("all off") << Modules{255, 1, 0, 0x80, 7} << Modules{};
}

void TestRelay::groupOperationsSendAllFiveModules()
{
    QFETCH(QString, operation);
    QFETCH(Modules, before);
    QFETCH(Modules, after);
    TestInstallation::exec(QStringLiteral("update Schaltplan set Gruppen = 2 where Anschluss in (3, 12)"));
    TestInstallation::exec(QStringLiteral("update Schaltplan set Gruppen = 1 where Anschluss in (4, 20)"));
    // A row outside 1 to 40 in the group counts for nothing.
    TestInstallation::exec(
        QStringLiteral("insert into Schaltplan (Anschluss, Bezeichnung, Gruppen) values (45, 'x', 2)"));
    Relays::link().open(0);
    Session::Modulzustand = before;
    const QStringList words = operation.split(QLatin1Char(' '));
    if (words[0] == QLatin1String("all"))
        words[1] == QLatin1String("on") ? fAlleEin() : fAlleAus();
    else
        words[0] == QLatin1String("on") ? fGruppeEin(words[1].toInt()) : fGruppeAus(words[1].toInt());
    QVERIFY(line_->waitFor(25));
    QTest::qWait(30);
    QCOMPARE(line_->values(), frames(after));
    QCOMPARE(Session::Modulzustand, after);
    QCOMPARE(storedModules(), after);
}

void TestRelay::closedLinkStillUpdatesState()
{
    QVERIFY(!Relays::link().isOpen());
    fLichtEin(9);
    QCOMPARE(Session::Modulzustand, (Modules{0, 1, 0, 0, 0}));
    QCOMPARE(Registry::value(QStringLiteral("modul_2")).toInt(), 1);
    fAlleEin();
    QCOMPARE(storedModules(), (Modules{255, 255, 255, 255, 255}));
    fLichtAus(40);
    QCOMPARE(Session::Modulzustand[4], quint8(0x7F));
    QTest::qWait(30);
    QVERIFY(line_->bytes().empty());
}

void TestRelay::loadKeepsEachModuleApart()
{
    Session::Modulzustand = {9, 9, 9, 9, 9};
    Registry::setValue(QStringLiteral("modul_1"), 5);
    Registry::setValue(QStringLiteral("modul_2"), QStringLiteral("lamp"));
    Registry::setValue(QStringLiteral("modul_3"), 300); // the lowest eight bits count
    Registry::setValue(QStringLiteral("modul_5"), 128);
    fLoadModule();
    QCOMPARE(Session::Modulzustand, (Modules{5, 0, 44, 0, 128}));
    // With no values at all every module is off.
    QFile::remove(Registry::filePath());
    fLoadModule();
    QCOMPARE(Session::Modulzustand, Modules{});
}

void TestRelay::portFailuresCarryTheirTextAndNumber()
{
    RelayLink link;
    const QRegularExpression numbered(
        QStringLiteral("^Unable to (open com port|write to port|purge com): \\d+$"));
    auto failure = [](const std::function<void()>& f) {
        try {
            f();
        } catch (const RelayError& e) {
            return e.message;
        }
        return QString();
    };
    for (int index : {1, 4, -1}) {
        const QString text = failure([&] { link.open(index); });
        QVERIFY2(text.startsWith(QLatin1String("Unable to open com port: ")), qPrintable(text));
        QVERIFY(numbered.match(text).hasMatch());
    }
    QVERIFY(failure([&] {
                link.write(QByteArray(1, 0));
            }).startsWith(QLatin1String("Unable to write to port: ")));
    QVERIFY(failure([&] { link.purgeOutput(); }).startsWith(QLatin1String("Unable to purge com: ")));
    QVERIFY(failure([&] { link.purgeInput(); }).startsWith(QLatin1String("Unable to purge com: ")));
    // A single zero byte is a byte like any other.
    link.open(0);
    QCOMPARE(link.write(QByteArray(1, '\0')), qint64(1));
    QVERIFY(line_->waitFor(1));
    QCOMPARE(line_->values(), Bytes{0x00});
}

void TestRelay::restartResendsStoredBytesWithoutPause()
{
    TestInstallation::exec(
        QStringLiteral("update Kennzahlen set Lichtschaltung = true, ComPort = 0, Wartezeit = 1000"));
    const Modules stored{0x1B, 0x00, 0xA5, 0xFF, 0x01};
    for (int m = 1; m <= 5; ++m)
        Registry::setValue(QStringLiteral("modul_%1").arg(m), stored[std::size_t(m - 1)]);
    RecordSet parameters;
    parameters.openQuery(QStringLiteral("select * from Kennzahlen"));
    Session::Wartezeit = 1000;
    int failures = 0;
    QElapsedTimer clock;
    clock.start();
    Relays::restart(parameters, [&] { return ++failures, true; });
    // Five frames of 120 ms; one Wartezeit pause would have added a second.
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(failures, 0);
    QVERIFY(Relays::link().isOpen());
    QVERIFY(line_->waitFor(25));
    QTest::qWait(30);
    QCOMPARE(line_->values(), frames(stored));
    QCOMPARE(Session::Modulzustand, stored);
    const auto bytes = line_->bytes();
    const QString fault = RelayLine::timingFault(bytes, [](std::size_t) { return 20; });
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
}

void TestRelay::restartRetriesWithChangedPortAndLoadsOnce()
{
    TestInstallation::exec(QStringLiteral("update Kennzahlen set Lichtschaltung = true, ComPort = 1"));
    Registry::setValue(QStringLiteral("modul_3"), 0x42);
    RecordSet parameters;
    parameters.openQuery(QStringLiteral("select * from Kennzahlen"));
    int failures = 0;
    Relays::restart(parameters, [&] {
        ++failures;
        // The desk picks COM1; the stored bytes change meanwhile but are not read again.
        Registry::setValue(QStringLiteral("modul_3"), 0x99);
        parameters.setField(QStringLiteral("ComPort"), 0);
        parameters.post();
        return false;
    });
    QCOMPARE(failures, 1);
    QVERIFY(Relays::link().isOpen());
    QCOMPARE(Relays::link().device(), line_->device());
    QVERIFY(line_->waitFor(25));
    QTest::qWait(30);
    QCOMPARE(line_->values(), frames({0, 0, 0x42, 0, 0}));
    QCOMPARE(TestInstallation::scalar(QStringLiteral("select ComPort from Kennzahlen")).toInt(), 0);

    // Abort leaves the link closed and goes on.
    Relays::link().close();
    TestInstallation::exec(QStringLiteral("update Kennzahlen set ComPort = 1"));
    parameters.refresh();
    failures = 0;
    Relays::restart(parameters, [&] { return ++failures, true; });
    QCOMPARE(failures, 1);
    QVERIFY(!Relays::link().isOpen());
}

void TestRelay::restartTouchesNothing_data()
{
    QTest::addColumn<QString>("parameters");
    QTest::addColumn<bool>("sharedOnly"); // a case of a store shared by several desks
    QTest::newRow("without light switching") << "Lichtschaltung = false, ComPort = 0" << false;
    // The hall switches its lights on COM3, which this desk's registry does not name: the desk
    // that names it holds the line.
    QTest::newRow("at a desk without the hall's port") << "Lichtschaltung = true, ComPort = 2" << true;
}

void TestRelay::restartTouchesNothing()
{
    QFETCH(QString, parameters);
    QFETCH(bool, sharedOnly);
    if (sharedOnly && !Store::sharedByDesks())
        QSKIP("a single desk holds the relay line itself, on the port's default device");
    TestInstallation::exec(QStringLiteral("update Kennzahlen set ") + parameters);
    QVERIFY(Registry::text(QStringLiteral("COM3")).isEmpty());
    Registry::setValue(QStringLiteral("modul_1"), 7);
    RecordSet row;
    row.openQuery(QStringLiteral("select * from Kennzahlen"));
    int failures = 0;
    Relays::restart(row, [&] { return ++failures, true; });
    QCOMPARE(failures, 0);
    QVERIFY(!Relays::link().isOpen());
    QCOMPARE(Session::Modulzustand, Modules{});
    QTest::qWait(30);
    QVERIFY(line_->bytes().empty());
    if (!sharedOnly)
        return;
    Registry::setValue(QStringLiteral("COM3"), Registry::text(QStringLiteral("COM1")));
    Relays::restart(row, [&] { return ++failures, true; });
    QCOMPARE(failures, 0);
    QVERIFY(Relays::link().isOpen());
    QTRY_VERIFY(!line_->bytes().empty());
}

QTEST_GUILESS_MAIN(TestRelay)
#include "tst_relay.moc"
