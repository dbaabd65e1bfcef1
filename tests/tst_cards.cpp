#include "answers.h"
#include "cardrecorder.h"
#include "cards/cardlayouts.h"
#include "cards/scard32.h"
#include "cards/smartcard.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

namespace {

std::intptr_t packed(int byte0, int byte2 = 0, int byte3 = 0)
{
    return std::intptr_t((std::uint32_t(std::uint8_t(byte0))) | (std::uint32_t(std::uint8_t(byte2)) << 16) |
                         (std::uint32_t(std::uint8_t(byte3)) << 24));
}

// A component active on the recorder; messages go through the program's PostMessage.
struct RecordedCard {
    Recorder log;
    SmartCard card;
    RecordedCard()
    {
        recorder = &log;
        card.setLanguage(SmartCard::Language::English);
        card.activateWith(&recordingEntry);
        log.commands.clear();
        log.dataWasNull.clear();
    }
    ~RecordedCard() { recorder = &log; }
    void notify(std::uintptr_t code, std::intptr_t values = 0)
    {
        QVERIFY(PostMessage(card.windowHandle(), SCARD_NOTIFY_MESSAGE, code, values) != 0);
        QCoreApplication::sendPostedEvents();
    }
};

} // namespace

class TestCards : public QObject {
    Q_OBJECT
private slots:
    void memberCard_data();
    void memberCard();
    void employeeCard();
    void readersTakeBackTheirPart();
    void splitLines_data();
    void splitLines();
    void statusOfNotifications_data();
    void statusOfNotifications();
    void cardActiveUnlocks_data();
    void cardActiveUnlocks();
    void disabledOnlyReleasesTheCard();
    void lockedCardNamesTheTask();
    void commandsAndTheirFailures();
    void unknownWindowIsRefused();
    void activationFailures();
    void languages();
    void simulatorInsertReadWrite();
};

void TestCards::memberCard_data()
{
    QTest::addColumn<qlonglong>("number");
    QTest::addColumn<QString>("surname");
    QTest::addColumn<QString>("firstName");
    QTest::addColumn<QByteArray>("numberBytes");
    QTest::addColumn<QByteArray>("surnameBytes");
    QTest::addColumn<QByteArray>("firstNameBytes");
    QTest::newRow("short") << 42LL << "Abel"
                           << "Jo" << QByteArray("0000000042") << QByteArray(26, ' ') + "Abel"
                           << QByteArray(28, ' ') + "Jo";
    QTest::newRow("eleven digits keep the last ten")
        << 12345678901LL << ""
        << "" << QByteArray("2345678901") << QByteArray(30, ' ') << QByteArray(30, ' ');
    QTest::newRow("long name keeps its end")
        << 7LL << "Abcdefghijklmnopqrstuvwxyz0123456789" << QString::fromUtf8("Jürgen")
        << QByteArray("0000000007") << QByteArray("ghijklmnopqrstuvwxyz0123456789")
        << QByteArray(24, ' ') + "J\xfcrgen";
}

void TestCards::memberCard()
{
    QFETCH(qlonglong, number);
    QFETCH(QString, surname);
    QFETCH(QString, firstName);
    const QByteArray card = CardLayout::Mitgliedskarte({number, surname, firstName});
    QCOMPARE(card.size(), 90);
    QCOMPARE(card.left(20), QByteArray("membercardxxxxxxxxxx"));
    QTEST(card.mid(20, 10), "numberBytes");
    QTEST(card.mid(30, 30), "surnameBytes");
    QTEST(card.mid(60, 30), "firstNameBytes");
}

void TestCards::employeeCard()
{
    const QByteArray card = CardLayout::Angestelltenkarte({QStringLiteral("Ben"), QStringLiteral("ben")});
    QCOMPARE(card,
             QByteArray("employecardxxxxxxxxx") + QByteArray(27, ' ') + "Ben" + QByteArray(27, ' ') + "ben");
}

void TestCards::readersTakeBackTheirPart()
{
    // What the readers get: memory from address 20 on, after the clearing write.
    const auto fromAddress20 = [](const QByteArray& record, int length) {
        QByteArray memory = CardLayout::clearing();
        memory.replace(0, record.size(), record);
        return memory.mid(20, length);
    };
    const auto member = CardLayout::readMember(fromAddress20(
        CardLayout::Mitgliedskarte({42, QStringLiteral(" van Berg"), QStringLiteral("Ada")}), 70));
    QVERIFY(member);
    QCOMPARE(member->number, QStringLiteral("0000000042"));
    QCOMPARE(member->Nachname, QStringLiteral("van Berg"));
    QCOMPARE(member->Vorname, QStringLiteral("Ada"));
    const auto employee = CardLayout::readEmployee(
        fromAddress20(CardLayout::Angestelltenkarte({QStringLiteral("Ben"), QStringLiteral("b e n")}), 60));
    QVERIFY(employee);
    QCOMPARE(employee->Benutzer, QStringLiteral("Ben"));
    QCOMPARE(employee->Passwort, QStringLiteral("b e n"));
    QVERIFY(!CardLayout::readMember(QByteArray(69, ' ')));
    QVERIFY(!CardLayout::readEmployee(QByteArray(59, ' ')));
}

void TestCards::splitLines_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("13 10 between two texts")
        << QByteArray("first\r\nsecond") << QStringList{"first", "second"};
    QTest::newRow("tab inside a line") << QByteArray("a\tb\r") << QStringList{"a#09b"};
    QTest::newRow("empty line kept, empty end dropped")
        << QByteArray("a\r\rb\r") << QStringList{"a", "", "b"};
    QTest::newRow("line of 300 characters") << QByteArray(300, 'x') << QStringList{QString(255, u'x')};
    QTest::newRow("nothing") << QByteArray() << QStringList{};
}

void TestCards::splitLines()
{
    QFETCH(QByteArray, reply);
    QTEST(SmartCard::splitLines(reply), "lines");
}

void TestCards::statusOfNotifications_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<qlonglong>("values");
    QTest::addColumn<QString>("status");
    QTest::newRow("100") << 100 << qlonglong(packed(0)) << "Please check terminal settings, no access!";
    QTest::newRow("110") << 110 << qlonglong(packed(0)) << "Please insert a smartcard...";
    QTest::newRow("120") << 120 << qlonglong(packed(0)) << "Detecting card...";
    QTest::newRow("130") << 130 << qlonglong(packed(0)) << "Invalid / unknown smartcard!";
    QTest::newRow("140") << 140 << qlonglong(packed(0)) << "Card activated and ready";
    QTest::newRow("200 progress") << 200 << qlonglong(packed(1, 37)) << "Operation in progress 37%";
    QTest::newRow("301 searching") << 301 << qlonglong(packed(0, 2, 37))
                                   << "Looking for a terminal at COM2 - 37%";
    QTest::newRow("301 found") << 301 << qlonglong(packed(0, 2, 254)) << "Terminal OK at COM2";
    QTest::newRow("301 not found") << 301 << qlonglong(packed(0, 3, 255)) << "No terminal found at COM3!";
    QTest::newRow("unknown code keeps the text") << 999 << qlonglong(packed(0)) << "before";
}

void TestCards::statusOfNotifications()
{
    QFETCH(int, code);
    QFETCH(qlonglong, values);
    RecordedCard r;
    r.card.setLanguageText(QStringList(r.card.LanguageText()) << QStringLiteral("Before=before"));
    r.card.ShowStatus(QStringLiteral("Before"));
    QList<int> events;
    r.card.OnDeviceSearch = [&](int port, int s) { events << port << s; };
    r.card.OnProgress = [&](int device, int p) { events << device << p; };
    r.notify(std::uintptr_t(code), std::intptr_t(values));
    QTEST(r.card.StatusText(), "status");
    if (code == 301)
        QCOMPARE(events, (QList<int>{int((values >> 16) & 0xff), int((values >> 24) & 0xff)}));
    if (code == 200)
        QCOMPARE(events, (QList<int>{1, 37}));
}

void TestCards::cardActiveUnlocks_data()
{
    QTest::addColumn<bool>("handler");
    QTest::addColumn<bool>("autoUnlock");
    QTest::addColumn<bool>("handlerFails");
    QTest::addColumn<bool>("handlerCloses"); // its window hides, which switches the terminal off
    QTest::addColumn<QList<QByteArray>>("sent");
    const QList<QByteArray> read{"Card,MemRead,20,60"};
    const QList<QByteArray> readUnlock{"Card,MemRead,20,60", "Card,Unlock,"};
    const QList<QByteArray> unlockThenEnd{"Card,MemRead,20,60", "Card,Unlock,", "System,DelHWnd,",
                                          "System,Destroy,"};
    QTest::newRow("no handler unlocks at once")
        << false << false << false << false << QList<QByteArray>{"Card,Unlock,"};
    QTest::newRow("handler without auto unlock") << true << false << false << false << read;
    QTest::newRow("handler with auto unlock") << true << true << false << false << readUnlock;
    QTest::newRow("failing handler still unlocks") << true << true << true << false << readUnlock;
    QTest::newRow("handler closing its window unlocks, then ends the session")
        << true << true << false << true << unlockThenEnd;
    QTest::newRow("failing handler closing its window unlocks too")
        << true << true << true << true << unlockThenEnd;
}

void TestCards::cardActiveUnlocks()
{
    QFETCH(bool, handler);
    QFETCH(bool, autoUnlock);
    QFETCH(bool, handlerFails);
    QFETCH(bool, handlerCloses);
    Answers answers;
    RecordedCard r;
    r.card.AutoUnlock = autoUnlock;
    QString statusInHandler;
    if (handler)
        r.card.OnCardActive = [&](int) {
            statusInHandler = r.card.StatusText();
            r.card.CardCommand("Card,MemRead,20,60");
            if (handlerCloses)
                r.card.setActive(false);
            if (handlerFails)
                throw SmartCardError(QStringLiteral("handler failed"));
        };
    r.notify(150);
    QList<QByteArray> sent = r.log.commands;
    // The deregistration names this window's handle, which differs from run to run.
    for (QByteArray& command : sent)
        if (command.startsWith("System,DelHWnd,"))
            command = "System,DelHWnd,";
    QTEST(sent, "sent");
    QCOMPARE(r.card.StatusText(), QStringLiteral("Card ok"));
    if (handler)
        QCOMPARE(statusInHandler, QStringLiteral("Card ok"));
    QCOMPARE(answers.asked, handlerFails ? QStringList{QStringLiteral("handler failed")} : QStringList{});
    QCOMPARE(r.card.active(), !handlerCloses);
}

void TestCards::disabledOnlyReleasesTheCard()
{
    RecordedCard r;
    r.card.Enabled = false;
    bool called = false;
    r.card.OnCardActive = [&](int) { called = true; };
    r.card.OnCardWait = [&](int) { called = true; };
    r.notify(110);
    r.notify(150);
    QVERIFY(!called);
    QVERIFY(r.card.StatusText().isEmpty());
    QCOMPARE(r.log.commands, QList<QByteArray>{"Card,Unlock,"});
}

void TestCards::lockedCardNamesTheTask()
{
    RecordedCard r;
    r.log.replies.insert("System,TaskList,", "desk1,1\r\ndesk2,4\r\n");
    QList<int> lock;
    r.card.OnCardLock = [&](int device, int task) { lock << device << task; };
    r.notify(160, packed(-1, 1));
    QCOMPARE(r.card.StatusText(), QStringLiteral("Card is locked by 'desk2'"));
    QCOMPARE(lock, (QList<int>{-1, 1}));
    QCOMPARE(r.log.commands, QList<QByteArray>{"System,TaskList,"});
    // A task the list does not hold leaves the status as it was.
    r.notify(160, packed(0, 5));
    QCOMPARE(r.card.StatusText(), QStringLiteral("Card is locked by 'desk2'"));
}

void TestCards::commandsAndTheirFailures()
{
    SmartCard inactive;
    try {
        inactive.CardCommand("Card,Info,");
        QFAIL("a command of an inactive component went through");
    } catch (const SmartCardError& e) {
        QCOMPARE(e.message(), QStringLiteral("SmartCard component not activated"));
    }

    RecordedCard r;
    r.card.activateWith(&recordingEntry); // already active: nothing is sent
    QVERIFY(r.log.commands.isEmpty());
    r.log.replies.insert("Card,MemRead,20,70", QByteArray(300, 'a'));
    QCOMPARE(r.card.CardCommand("Card,MemRead,20,70"), QByteArray(255, 'a'));
    QCOMPARE(r.log.dataWasNull, QList<bool>{true});
    r.card.CardCommand("Card,MemWrite,0,3", "abc");
    QCOMPARE(r.log.dataWasNull.last(), false);

    r.log.failing = "Card,MemWrite,0,90";
    r.log.errorText = QByteArray("No card in the terminal") + '\0' + "rest";
    try {
        r.card.CardCommand("Card,MemWrite,0,90", QByteArray(90, 'x'));
        QFAIL("a failed command went through");
    } catch (const SmartCardError& e) {
        QCOMPARE(e.message(), QStringLiteral("No card in the terminal"));
    }
    QCOMPARE(r.log.commands.last(), QByteArray("System,Info,ErrText,"));

    r.log.commands.clear();
    r.card.setActive(false);
    QCOMPARE(r.log.commands,
             (QList<QByteArray>{"System,DelHWnd," + QByteArray::number(quint64(r.card.windowHandle())),
                                "System,Destroy,"}));
    QVERIFY(!r.card.active());
}

void TestCards::unknownWindowIsRefused()
{
    std::uintptr_t gone = 0;
    {
        SmartCard card;
        gone = card.windowHandle();
        QVERIFY(PostMessage(gone, SCARD_NOTIFY_MESSAGE, 110, 0) != 0);
    }
    QCOMPARE(PostMessage(gone, SCARD_NOTIFY_MESSAGE, 110, 0), 0);
    QCoreApplication::sendPostedEvents();

    // Queued while active, delivered after the session ended: dropped.
    Answers answers;
    RecordedCard r;
    bool called = false;
    r.card.OnCardActive = [&](int) { called = true; };
    QVERIFY(PostMessage(r.card.windowHandle(), SCARD_NOTIFY_MESSAGE, 150, 0) != 0);
    r.card.setActive(false);
    r.log.commands.clear();
    QCoreApplication::sendPostedEvents();
    QVERIFY(!called);
    QVERIFY(r.log.commands.isEmpty());
    QCOMPARE(answers.asked, QStringList{});
}

void TestCards::activationFailures()
{
    QTemporaryDir empty;
    SmartCard::setProgramDirectory(empty.path());
    SmartCard card;
    try {
        card.setActive(true);
        QFAIL("activated without a library");
    } catch (const SmartCardError& e) {
        QVERIFY2(e.message().startsWith(
                     QStringLiteral("Invalid/missing SmartCard library libscard32.so (Error code 2)\r\n"
                                    "Pls. download latest version at: ")),
                 qPrintable(e.message()));
    }
    QVERIFY(!card.active());

    // A file of that name that is no library.
    QFile bogus(empty.filePath(QStringLiteral(SCARD_LIBRARY_FILE)));
    QVERIFY(bogus.open(QIODevice::WriteOnly));
    bogus.write("not a library");
    bogus.close();
    try {
        card.setActive(true);
        QFAIL("activated with a file that is no library");
    } catch (const SmartCardError& e) {
        QVERIFY2(e.message().startsWith(
                     QStringLiteral("Invalid/missing SmartCard library libscard32.so (Error code ")),
                 qPrintable(e.message()));
    }

    // A library of that name without the entry point.
    QFile::remove(bogus.fileName());
    QVERIFY(QFile::copy(QStringLiteral(LIBRARY_WITHOUT_ENTRY), bogus.fileName()));
    try {
        card.setActive(true);
        QFAIL("activated with a library without SCardComand");
    } catch (const SmartCardError& e) {
        QVERIFY2(e.message().startsWith(
                     QStringLiteral("Invalid SmartCard library libscard32.so (version mismatch)\r\n"
                                    "Pls. download latest version at: ")),
                 qPrintable(e.message()));
    }
    QVERIFY(!card.active());
    SmartCard::setProgramDirectory({});

    Recorder refusing;
    refusing.registration = 5;
    recorder = &refusing;
    try {
        card.activateWith(&recordingEntry);
        QFAIL("activated although the registration was refused");
    } catch (const SmartCardError& e) {
        QCOMPARE(e.message(), QStringLiteral("Cannot access SmartCard Server: 0005"));
    }
    refusing.registration = 0;
    refusing.session = 0;
    QVERIFY_THROWS_EXCEPTION(SmartCardError, card.activateWith(&recordingEntry));
    QVERIFY(!card.active());
}

void TestCards::languages()
{
    SmartCard card;
    card.setLanguage(SmartCard::Language::Deutsch);
    QCOMPARE(card.LanguageText().size(), 12);
    card.ShowStatus(QStringLiteral("CrdInvalid"));
    QCOMPARE(card.StatusText(), QStringLiteral("Ungültige / unbekannte Karte!"));
    card.setLanguage(SmartCard::Language::English);
    QVERIFY(card.LanguageText().contains(QStringLiteral("CrdReady=Card ok")));
    card.setLanguageText({QStringLiteral("CrdReady=Karte da"), QStringLiteral("CrdInsert=")});
    QCOMPARE(card.language(), SmartCard::Language::Custom);
    card.ShowStatus(QStringLiteral("CrdReady"));
    card.ShowStatus(QStringLiteral("CrdInsert")); // no text: nothing changes
    QCOMPARE(card.StatusText(), QStringLiteral("Karte da"));
}

void TestCards::simulatorInsertReadWrite()
{
    QTemporaryDir dir;
    const QString cardFile = dir.filePath(QStringLiteral("card.bin"));
    qputenv("SCARDSIM_CARD", cardFile.toLocal8Bit());
    SmartCard::setProgramDirectory(QStringLiteral(SCARDSIM_DIR));
    const auto scardsim = [](const QStringList& args) {
        QProcess tool;
        tool.start(QStringLiteral(SCARDSIM_TOOL), args);
        return tool.waitForFinished(10000) && tool.exitCode() == 0;
    };

    SmartCard card;
    card.setLanguage(SmartCard::Language::English);
    card.setActive(true);
    QVERIFY(card.sessionHandle() >= 1);
    QCOMPARE(card.DeviceList().size(), 1);
    QStringList seen;
    QByteArray read;
    card.OnCardWait = [&](int) { seen << card.StatusText(); };
    card.OnCardDetect = [&](int) { seen << card.StatusText(); };
    card.OnCardValid = [&](int) { seen << card.StatusText(); };
    card.OnCardActive = [&](int) {
        seen << card.StatusText();
        read = card.CardCommand("Card,MemRead,20,70");
    };
    QVERIFY(scardsim(
        {QStringLiteral("member"), QStringLiteral("42"), QStringLiteral("Abel"), QStringLiteral("Jo")}));
    QTRY_COMPARE(seen.size(), 4);
    QCOMPARE(seen, (QStringList{"Please insert a smartcard...", "Detecting card...",
                                "Card activated and ready", "Card ok"}));
    QCOMPARE(read,
             CardLayout::Mitgliedskarte({42, QStringLiteral("Abel"), QStringLiteral("Jo")}).mid(20, 70));

    // The writer's two steps land in the card file, and the program's own write is no new card.
    card.CardCommand("Card,MemWrite,0,255", CardLayout::clearing());
    const QByteArray employee = CardLayout::Angestelltenkarte({QStringLiteral("Ben"), QStringLiteral("ben")});
    card.CardCommand("Card,MemWrite,0,80", employee);
    QFile file(cardFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), employee + QByteArray(175, char(0xFF)));
    QTest::qWait(200);
    QCOMPARE(seen.size(), 4);

    // A command the card cannot take fails with the library's own text.
    QVERIFY_THROWS_EXCEPTION(SmartCardError, card.CardCommand("Card,MemRead,200,70"));
    QVERIFY(scardsim({QStringLiteral("remove")}));
    QTRY_COMPARE(seen.size(), 5);
    try {
        card.CardCommand("Card,MemRead,20,60");
        QFAIL("read without a card");
    } catch (const SmartCardError& e) {
        QCOMPARE(e.message(), QStringLiteral("No card in the terminal"));
    }
    card.setActive(false);
    QVERIFY(!card.active());
    SmartCard::setProgramDirectory({});
}

QTEST_GUILESS_MAIN(TestCards)
#include "tst_cards.moc"
