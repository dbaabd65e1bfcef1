#include "answers.h"
#include "cards/tsmartcard.h"
#include "data/session.h"
#include "platform/usersettings.h"
#include "reservations/lookupbox.h"
#include "reservations/u_reservieren.h"
#include "reservations/u_scheduler.h"
#include "simulatedterminal.h"
#include "testinstallation.h"
#include "ui/forms.h"
#include "users/u_anmeldung.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

#include <memory>

// Member cards in the reservation dialog and employee cards at log-in, with the simulated
// terminal the program loads as it would a real one.
class TestCardPaths : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void memberCardBooksAndCloses();
    void memberCardRefused_data();
    void memberCardRefused();
    void memberCardWithoutQuartersKeepsTheMember();
    void employeeCardLogsIn();
    void employeeCardRefused_data();
    void employeeCardRefused();
    void employeeCardsOffLeaveTheTerminalAlone();

private:
    void showDialog();

    std::unique_ptr<TestInstallation> installation;
    std::unique_ptr<SimulatedTerminal> terminal;
    std::unique_ptr<Tfrm_scheduler> scheduler;
    std::unique_ptr<Tfrm_reservieren> dialog;
};

void TestCardPaths::init()
{
    installation = std::make_unique<TestInstallation>(true);
    QVERIFY2(installation->isValid(), qPrintable(installation->failure()));
    terminal = std::make_unique<SimulatedTerminal>();
    Session::KartenleserAktiv = true;
    Session::KarteFuerMitglieder = true;
    Session::KarteFuerAngestellte = true;
}

void TestCardPaths::cleanup()
{
    forms().scheduler = nullptr;
    forms().reservieren = nullptr;
    dialog.reset();
    scheduler.reset();
    terminal.reset();
    installation.reset();
    Session::KartenleserAktiv = Session::KarteFuerMitglieder = Session::KarteFuerAngestellte = false;
}

void TestCardPaths::showDialog()
{
    scheduler = std::make_unique<Tfrm_scheduler>();
    dialog = std::make_unique<Tfrm_reservieren>();
    forms().scheduler = scheduler.get();
    forms().reservieren = dialog.get();
    scheduler->show();
    dialog->ed_tag->setText(QStringLiteral("7"));
    dialog->ed_stunde->setText(QStringLiteral("9"));
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    QVERIFY(dialog->sc_reader->active());
    QVERIFY(!dialog->lbl_status->isHidden());
}

void TestCardPaths::memberCardBooksAndCloses()
{
    TestInstallation::exec(
        QStringLiteral("update Mitglieder set Nachname = 'Abel', Vorname = 'Jo', Rabatt = 12.5 "
                       "where Mitgliedsnummer = 3"));
    showDialog();
    dialog->sh_standardMouseUp(9, 1, 1, Qt::LeftButton);
    dialog->sh_standardMouseUp(9, 1, 2, Qt::LeftButton);
    QVERIFY(SimulatedTerminal::insertMember(3, QStringLiteral("Abel"), QStringLiteral("Jo")));
    QTRY_VERIFY(!dialog->isVisible());
    QVERIFY(!dialog->sc_reader->active());
    // The dialog closed inside the card handler; the card is unlocked all the same.
    QVERIFY(!SimulatedTerminal::cardLocked());
    const QVariant date = dialog->datum();
    QCOMPARE(TestInstallation::scalar(QStringLiteral("select count(*) from Reservierung where Datum = ? and "
                                                     "Reservierer = 'Abel  Jo' and Mitgliedsnummer = 3 and "
                                                     "Prozente = 12 and Stunde = 9 and Platz = 1"),
                                      {date})
                 .toInt(),
             2);
}

void TestCardPaths::memberCardRefused_data()
{
    QTest::addColumn<QByteArray>("memory");
    QTest::addColumn<QString>("message");
    const auto card = [](int number, const char* surname, const char* firstName) {
        QByteArray memory = CardLayout::clearing();
        const QByteArray record = CardLayout::Mitgliedskarte(
            {number, QString::fromLatin1(surname), QString::fromLatin1(firstName)});
        return memory.replace(0, record.size(), record);
    };
    QTest::newRow("names differ") << card(3, "Abel", "Joe") << "membername is not ident to cardmembername!";
    QTest::newRow("names differ in case")
        << card(3, "abel", "Jo") << "membername is not ident to cardmembername!";
    QTest::newRow("unknown member") << card(999, "Abel", "Jo") << "member not found!";
    QByteArray letters = card(3, "Abel", "Jo");
    letters.replace(20, 10, "00000000x3");
    QTest::newRow("number with a letter") << letters << "no correct membernumber on card!";
}

void TestCardPaths::memberCardRefused()
{
    QFETCH(QByteArray, memory);
    QFETCH(QString, message);
    TestInstallation::exec(
        QStringLiteral("update Mitglieder set Nachname = 'Abel', Vorname = 'Jo' where Mitgliedsnummer = 3"));
    showDialog();
    dialog->sh_standardMouseUp(9, 1, 1, Qt::LeftButton);
    Answers answers;
    QVERIFY(terminal->insertRaw(memory));
    QTRY_COMPARE(answers.asked, QStringList{message});
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->pc_player->currentWidget(), dialog->ts_member);
    QVERIFY(dialog->ed_mitgliedsnummer->text().isEmpty());
    QCOMPARE(
        TestInstallation::scalar(
            QStringLiteral("select count(*) from Reservierung where Datum = ? and Stunde = 9 and Platz = 1"),
            {dialog->datum()})
            .toInt(),
        0);
}

void TestCardPaths::memberCardWithoutQuartersKeepsTheMember()
{
    TestInstallation::exec(QStringLiteral(
        "update Mitglieder set Nachname = 'Abel', Vorname = 'Jo', Rabatt = 10 where Mitgliedsnummer = 3"));
    showDialog();
    Answers answers;
    QVERIFY(SimulatedTerminal::insertMember(3, QStringLiteral(" Abel "), QStringLiteral("Jo")));
    QTRY_COMPARE(answers.asked, QStringList{QStringLiteral("Empty reservation.No quaters are selected !")});
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->ed_mitglied->currentText(), QStringLiteral("Abel  Jo"));
    QCOMPARE(dialog->ed_mitgliedsnummer->text(), QStringLiteral("3"));
    QCOMPARE(dialog->ed_prozentemitglied->value(), 10.0);
}

void TestCardPaths::employeeCardLogsIn()
{
    Session::Benutzertyp = QStringLiteral("Administrator");
    Tfrm_anmeldung login;
    login.show();
    QVERIFY(QTest::qWaitForWindowExposed(&login));
    QVERIFY(login.sc_reader->active());
    QVERIFY(login.lbl_status->isVisible());
    // The card holds both texts right-aligned in thirty characters: blanks must not reach the check.
    QVERIFY(SimulatedTerminal::insertEmployee(QStringLiteral("Ben"), QStringLiteral("ben")));
    QTRY_VERIFY(!login.isVisible());
    QCOMPARE(login.result(), int(QDialog::Accepted));
    QCOMPARE(Session::Benutzertyp, QStringLiteral("Employee"));
    QCOMPARE(login.lu_user->currentText(), QStringLiteral("Ben"));
    QVERIFY(!login.sc_reader->active());
    QVERIFY(!SimulatedTerminal::cardLocked());
}

void TestCardPaths::employeeCardRefused_data()
{
    QTest::addColumn<QByteArray>("memory");
    QTest::addColumn<QString>("message");
    QByteArray wrong = CardLayout::clearing();
    const QByteArray record = CardLayout::Angestelltenkarte({QStringLiteral("Ben"), QStringLiteral("anna")});
    QTest::newRow("wrong password") << wrong.replace(0, record.size(), record) << "login failed !";
}

void TestCardPaths::employeeCardRefused()
{
    QFETCH(QByteArray, memory);
    QFETCH(QString, message);
    Session::Benutzertyp = QStringLiteral("Administrator");
    Tfrm_anmeldung login;
    login.show();
    QVERIFY(QTest::qWaitForWindowExposed(&login));
    Answers answers;
    QVERIFY(terminal->insertRaw(memory));
    QTRY_COMPARE(answers.asked, QStringList{message});
    QVERIFY(login.isVisible());
    QCOMPARE(Session::Benutzertyp, QStringLiteral("Administrator"));
}

void TestCardPaths::employeeCardsOffLeaveTheTerminalAlone()
{
    Session::KarteFuerAngestellte = false;
    Session::Benutzertyp = QStringLiteral("Administrator");
    Tfrm_anmeldung login;
    login.show();
    QVERIFY(QTest::qWaitForWindowExposed(&login));
    QVERIFY(!login.sc_reader->active());
    QVERIFY(!login.lbl_status->isVisible());
    QVERIFY(SimulatedTerminal::insertEmployee(QStringLiteral("Ben"), QStringLiteral("ben")));
    QTest::qWait(300);
    QVERIFY(login.isVisible());
    QCOMPARE(Session::Benutzertyp, QStringLiteral("Administrator"));
}

QTEST_MAIN(TestCardPaths)
#include "tst_cardspaths.moc"
