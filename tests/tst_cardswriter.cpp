#include "answers.h"
#include "cardrecorder.h"
#include "cards/tsmartcard.h"
#include "cards/u_kartenleser.h"
#include "data/session.h"
#include "reservations/u_reservieren.h"
#include "reservations/u_scheduler.h"
#include "simulatedterminal.h"
#include "testinstallation.h"
#include "ui/forms.h"
#include "ui/recordgrid.h"
#include "users/u_anmeldung.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <memory>

// The card writer: settings, member and employee cards, written through the simulated terminal
// and read back by the windows that use them.
class TestCardsWriter : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void writeCommands_data();
    void writeCommands();
    void writtenMemberCardBooks();
    void writtenEmployeeCardLogsIn();
    void failuresGoToTheMemo();
    void emptyListWritesNothing();
    void memberFilter_data();
    void memberFilter();
    void takeOver();
    void takeOverWithoutLibrary();
    void employeesForAdministratorsOnly();
    void gaugeTextReadsOnTheBar();

private:
    void showWriter();
    QStringList memoLines(QPlainTextEdit* memo) const { return memo->toPlainText().split(QLatin1Char('\n')); }

    std::unique_ptr<TestInstallation> installation;
    std::unique_ptr<SimulatedTerminal> terminal;
    std::unique_ptr<Tfrm_kartenleser> writer;
};

void TestCardsWriter::init()
{
    installation = std::make_unique<TestInstallation>();
    QVERIFY2(installation->isValid(), qPrintable(installation->failure()));
    TestInstallation::exec(
        QStringLiteral("insert into Mitglieder (Mitgliedsnummer, Nachname, Vorname, Rabatt) values "
                       "(42, 'Abel', 'Jo', 10), (7, 'O''Neil', 'Ann', 0), (9, 'Abendroth', 'Max', 0), "
                       "(11, 'abel', 'Ida', 0)"));
    terminal = std::make_unique<SimulatedTerminal>();
    Session::KartenleserAktiv = true;
    Session::Benutzertyp = QStringLiteral("Administrator");
    writer = std::make_unique<Tfrm_kartenleser>();
}

void TestCardsWriter::cleanup()
{
    writer.reset();
    terminal.reset();
    installation.reset();
    Session::KartenleserAktiv = Session::KarteFuerMitglieder = Session::KarteFuerAngestellte = false;
}

void TestCardsWriter::showWriter()
{
    writer->show();
    QVERIFY(QTest::qWaitForWindowExposed(writer.get()));
}

void TestCardsWriter::writeCommands_data()
{
    QTest::addColumn<bool>("member");
    QTest::addColumn<QByteArray>("record");
    QTest::newRow("member") << true
                            << CardLayout::Mitgliedskarte(
                                   {9, QStringLiteral("Abendroth"), QStringLiteral("Max")});
    QTest::newRow("employee") << false
                              << CardLayout::Angestelltenkarte(
                                     {QStringLiteral("admin"), QStringLiteral("admin")});
}

void TestCardsWriter::writeCommands()
{
    QFETCH(bool, member);
    QFETCH(QByteArray, record);
    Session::KartenleserAktiv = false;
    showWriter();
    Recorder log;
    recorder = &log;
    writer->sc_reader->activateWith(&recordingEntry);
    log.commands.clear();
    // The first in surname order is Abel, the next Abendroth; the first user is the administrator.
    if (member) {
        writer->members()->next();
        writer->btn_member->click();
    } else {
        writer->btn_employ->click();
    }
    const QByteArray count = QByteArray::number(record.size());
    QCOMPARE(log.commands, (QList<QByteArray>{"Card,MemWrite,0,255", "Card,MemWrite,0," + count}));
    QCOMPARE(count, QByteArray(member ? "90" : "80"));
    writer->hide();
    QVERIFY(!writer->sc_reader->active());
}

void TestCardsWriter::writtenMemberCardBooks()
{
    QVERIFY(terminal->insertRaw(QByteArray(255, char(0xFF)))); // a blank card in the terminal
    showWriter();
    QVERIFY(writer->sc_reader->active());
    writer->pc_chipcard->setCurrentWidget(writer->ts_members);
    writer->ed_nachname->setText(QStringLiteral("Abel"));
    writer->btn_filter->click();
    writer->btn_member->click();
    QCOMPARE(memoLines(writer->me_members), (QStringList{" ", "Membercard generated.", " ",
                                                         "To generate a new card insert", "a new card."}));
    QTRY_COMPARE(writer->GaugeSCard->value(), 100);
    QFile card(terminal->dir.filePath(QStringLiteral("card.bin")));
    QVERIFY(card.open(QIODevice::ReadOnly));
    const QByteArray written = card.readAll();
    card.close();
    writer->close();

    // The card taken out and put into the terminal at the reservation dialog books for member 42.
    Session::KarteFuerMitglieder = true;
    TestInstallation::exec(QStringLiteral("insert into Tische (Tischnummer) select 1 where not exists "
                                          "(select 1 from Tische where Tischnummer = 1)"));
    Tfrm_scheduler scheduler;
    Tfrm_reservieren dialog;
    forms().scheduler = &scheduler;
    forms().reservieren = &dialog;
    scheduler.show();
    dialog.ed_tag->setText(QStringLiteral("2"));
    dialog.ed_stunde->setText(QStringLiteral("20"));
    dialog.show();
    dialog.sh_standardMouseUp(20, 1, 4, Qt::LeftButton);
    Answers answers;
    QVERIFY(SimulatedTerminal::run({QStringLiteral("remove")}));
    QVERIFY(dialog.sc_reader->active());
    QVERIFY(terminal->insertRaw(written));
    QTRY_VERIFY(!dialog.isVisible());
    QCOMPARE(answers.asked, QStringList{});
    QCOMPARE(TestInstallation::scalar(
                 QStringLiteral("select Reservierer || '|' || Mitgliedsnummer || '|' || Prozente "
                                "from Reservierung where Datum = ?"),
                 {dialog.datum()})
                 .toString(),
             QStringLiteral("Abel  Jo|42|10"));
    forms().scheduler = nullptr;
    forms().reservieren = nullptr;
}

void TestCardsWriter::writtenEmployeeCardLogsIn()
{
    QVERIFY(terminal->insertRaw(QByteArray(255, '\0')));
    showWriter();
    writer->pc_chipcard->setCurrentWidget(writer->ts_employees);
    const int ben = writer->users()->fieldIndex(QStringLiteral("Benutzer"));
    for (writer->users()->first();
         !writer->users()->eof() && writer->users()->valueAt(writer->users()->recNo(), ben) != "Ben";)
        writer->users()->next();
    writer->btn_employ->click();
    QCOMPARE(memoLines(writer->me_employees), (QStringList{" ", "Employecard generated.", " ",
                                                           "To generate a new card insert", "a new card."}));
    QFile card(terminal->dir.filePath(QStringLiteral("card.bin")));
    QVERIFY(card.open(QIODevice::ReadOnly));
    const QByteArray written = card.readAll();
    card.close();
    writer->close();

    Session::KarteFuerAngestellte = true;
    Tfrm_anmeldung login;
    login.show();
    QVERIFY(login.sc_reader->active());
    QVERIFY(terminal->insertRaw(written));
    QTRY_VERIFY(!login.isVisible());
    QCOMPARE(Session::Benutzertyp, QStringLiteral("Employee"));
    QCOMPARE(login.lu_user->currentText(), QStringLiteral("Ben"));
}

void TestCardsWriter::failuresGoToTheMemo()
{
    showWriter();
    writer->btn_member->click(); // no card in the terminal
    QCOMPARE(memoLines(writer->me_members),
             (QStringList{" ", "SmartcardException: No card in the terminal"}));
    writer->sc_reader->setActive(false);
    writer->btn_employ->click();
    QCOMPARE(memoLines(writer->me_employees),
             (QStringList{" ", "SmartcardException: SmartCard component not activated"}));
}

void TestCardsWriter::emptyListWritesNothing()
{
    showWriter();
    writer->me_members->setPlainText(QStringLiteral("earlier"));
    writer->ed_nachname->setText(QStringLiteral("Nobody"));
    writer->btn_filter->click();
    QCOMPARE(writer->members()->count(), 0);
    writer->btn_member->click();
    QCOMPARE(writer->me_members->toPlainText(), QStringLiteral("earlier"));
}

void TestCardsWriter::memberFilter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("surnames");
    QTest::newRow("whole name, case counts") << "Abel" << QStringList{"Abel"};
    QTest::newRow("asterisk") << "Abe*" << QStringList{"Abel", "Abendroth"};
    QTest::newRow("apostrophe") << "O'Neil" << QStringList{"O'Neil"};
}

void TestCardsWriter::memberFilter()
{
    QFETCH(QString, text);
    showWriter();
    Answers answers;
    writer->ed_nachname->setText(text);
    writer->btn_filter->click();
    QStringList surnames;
    for (writer->members()->first(); !writer->members()->eof(); writer->members()->next())
        surnames << writer->members()->field(QStringLiteral("Nachname")).asString();
    QTEST(surnames, "surnames");
    QCOMPARE(answers.asked, QStringList{});
    writer->btn_alle->click();
    QCOMPARE(writer->members()->count(), 4);
}

void TestCardsWriter::takeOver()
{
    Session::KartenleserAktiv = false;
    showWriter();
    QVERIFY(!writer->sc_reader->active());
    writer->cb_cardreader->setChecked(true);
    writer->cb_members->setChecked(true);
    writer->cb_employs->setChecked(false);
    writer->btn_takeover->click();
    QVERIFY(writer->sc_reader->active());
    QVERIFY(Session::KartenleserAktiv);
    QVERIFY(Session::KarteFuerMitglieder);
    QVERIFY(!Session::KarteFuerAngestellte);
    QCOMPARE(TestInstallation::scalar(
                 QStringLiteral(
                     "select case when Aktiv then '1' else '0' end || case when FuerMitglieder then '1' "
                     "else '0' end || case when FuerAngestellte then '1' else '0' end from Kartenleser"))
                 .toString(),
             QStringLiteral("110"));

    // Unticking does not stop the terminal; closing does, and drops what was not taken over.
    writer->cb_cardreader->setChecked(false);
    writer->btn_takeover->click();
    QVERIFY(writer->sc_reader->active());
    writer->cb_employs->setChecked(true);
    writer->close();
    QVERIFY(!writer->sc_reader->active());
    writer->show();
    QVERIFY(!writer->cb_employs->isChecked());
    QCOMPARE(TestInstallation::scalar(QStringLiteral("select count(*) from Kartenleser")).toInt(), 1);
}

void TestCardsWriter::takeOverWithoutLibrary()
{
    Session::KartenleserAktiv = false;
    QTemporaryDir empty;
    SmartCard::setProgramDirectory(empty.path());
    showWriter();
    writer->cb_cardreader->setChecked(true);
    writer->cb_members->setChecked(true);
    Answers answers;
    writer->btn_takeover->click();
    QCOMPARE(answers.asked,
             QStringList{QStringLiteral("To run Cardreader you have to install the hardware !")});
    QVERIFY(!Session::KartenleserAktiv);
    QVERIFY(!Session::KarteFuerMitglieder);
    QCOMPARE(TestInstallation::scalar(
                 QStringLiteral(
                     "select case when Aktiv then '1' else '0' end || case when FuerMitglieder then '1' "
                     "else '0' end || case when FuerAngestellte then '1' else '0' end from Kartenleser"))
                 .toString(),
             QStringLiteral("000"));

    // Shown with the terminal on, the missing library is reported as it is.
    writer->close();
    Session::KartenleserAktiv = true;
    answers.asked.clear();
    writer->show();
    QCOMPARE(answers.asked.size(), 1);
    QVERIFY(answers.asked[0].startsWith(QStringLiteral("Invalid/missing SmartCard library libscard32.so")));
}

void TestCardsWriter::employeesForAdministratorsOnly()
{
    Session::Benutzertyp = QStringLiteral("Employee");
    showWriter();
    writer->pc_chipcard->setCurrentWidget(writer->ts_employees);
    QCOMPARE(writer->pc_chipcard->currentWidget(), writer->ts_employees);
    QVERIFY(!writer->btn_employ->isEnabled());
    QVERIFY(!writer->gr_users->isEnabled());
    writer->close();
    Session::Benutzertyp = QStringLiteral("Administrator");
    writer->show();
    writer->pc_chipcard->setCurrentWidget(writer->ts_employees);
    QVERIFY(writer->btn_employ->isEnabled());
}

void TestCardsWriter::gaugeTextReadsOnTheBar()
{
    showWriter();
    QProgressBar* gauge = writer->GaugeSCard;
    gauge->setValue(100);
    // Where the full bar lies under the percentage, its text must stand out light on the navy.
    const QImage shot = gauge->grab().toImage();
    const QRect text = QFontMetrics(gauge->font())
                           .boundingRect(gauge->rect(), Qt::AlignCenter, gauge->text())
                           .intersected(gauge->rect().adjusted(3, 3, -3, -3));
    int light = 0;
    int navy = 0;
    for (int y = text.top(); y <= text.bottom(); ++y)
        for (int x = text.left(); x <= text.right(); ++x) {
            const QColor c =
                shot.pixelColor(x * shot.width() / gauge->width(), y * shot.height() / gauge->height());
            light += c.lightness() > 200;
            navy += c.blue() > 100 && c.red() < 60 && c.green() < 60;
        }
    QVERIFY2(navy > 0, "the bar is not navy");
    QVERIFY2(light > 0, "the percentage is dark on the navy bar");
}

QTEST_MAIN(TestCardsWriter)
#include "tst_cardswriter.moc"
