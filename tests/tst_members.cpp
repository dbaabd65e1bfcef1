#include "answers.h"
#include "cards/members.h"
#include "cards/u_mitglieder.h"
#include "data/store.h"
#include "racingdesk.h"
#include "refusingtrigger.h"
#include "testinstallation.h"
#include "testserver.h"
#include "ui/fieldcontrols.h"
#include "ui/fieldform.h"
#include "ui/recordgrid.h"
#include "ui/recordnavigator.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <memory>

Q_DECLARE_METATYPE(Engine)

class TestMembers : public QObject {
    Q_OBJECT
private slots:
    void initTestCase_data();
    void init();
    void cleanup();
    void autoserveNumbers();
    void drawnNumberTakenMeanwhileGivesWayToTheNextFree_data();
    void drawnNumberTakenMeanwhileGivesWayToTheNextFree();
    void numberTypedByHandIsNeverChanged_data();
    void numberTypedByHandIsNeverChanged();
    void twoDesksAddingAtOnceStoreDifferentNumbers_data();
    void twoDesksAddingAtOnceStoreDifferentNumbers();
    void search_data();
    void search();
    void searchPrefixCountsCharacters();
    void deletingTakesTheMonthlyDiscounts();
    void pagesCaptionsAndHints();
    void typingStartsEditingAndCancelUndoesIt();
    void typedChangeIsStoredBeforeTheRegisterOpensAgain_data();
    void typedChangeIsStoredBeforeTheRegisterOpensAgain();

private:
    QLineEdit* dataEdit(const char* name) const
    {
        return qobject_cast<QLineEdit*>(window->form()->control(QLatin1String(name)));
    }
    QList<int> shownNumbers() const
    {
        QList<int> numbers;
        RecordSet* records = window->TableMitglieder();
        for (int row = 0; row < records->count(); ++row)
            numbers << records->valueAt(row, records->fieldIndex(QStringLiteral("Mitgliedsnummer"))).toInt();
        return numbers;
    }

    int storedNumber(const QString& surname) const
    {
        return TestInstallation::scalar("select Mitgliedsnummer from Mitglieder where Nachname = ?",
                                        {surname})
            .toInt();
    }

    void showWindow()
    {
        window->show();
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    // Members 1 and 2 stored, the register shown, and a new member begun.
    void startAddingAfterTwo(bool autoserve)
    {
        TestInstallation::exec(
            "insert into Mitglieder (Mitgliedsnummer, Nachname) values (1, 'Abel'), (2, 'Berg')");
        showWindow();
        window->cb_mitohne->setChecked(autoserve);
        window->DBNavigator->press(RecordNavigator::Insert);
    }

    std::unique_ptr<TestInstallation> installation;
    std::unique_ptr<Tfrm_mitglieder> window;
};

void TestMembers::initTestCase_data()
{
    QTest::addColumn<Engine>("engine");
    QTest::newRow("SQLite") << Engine::SQLite;
    QTest::newRow("PostgreSQL") << Engine::PostgreSQL;
}

void TestMembers::init()
{
    QFETCH_GLOBAL(Engine, engine);
    if (engine == Engine::PostgreSQL && !TestDatabase::serverAvailable())
        QSKIP("no test server (COURTORIA_TEST_SERVER)");
    installation = std::make_unique<TestInstallation>(engine);
    QVERIFY2(installation->isValid(), qPrintable(installation->failure()));
    window = std::make_unique<Tfrm_mitglieder>();
}

void TestMembers::cleanup()
{
    window.reset();
    installation.reset();
}

void TestMembers::autoserveNumbers()
{
    QCOMPARE(Members::fGetMaxMitgliedNr(), 1);
    window->show();
    QVERIFY(window->cb_mitohne->isChecked());
    window->DBNavigator->press(RecordNavigator::Insert);
    QCOMPARE(dataEdit("ed_mitgliedsnummer")->text(), QStringLiteral("1"));
    dataEdit("ed_nachname")->setText(QStringLiteral("Abel"));
    window->DBNavigator->press(RecordNavigator::Post);
    window->DBNavigator->press(RecordNavigator::Insert);
    QCOMPARE(dataEdit("ed_mitgliedsnummer")->text(), QStringLiteral("2"));
    window->DBNavigator->press(RecordNavigator::Cancel);
    TestInstallation::exec(QStringLiteral("insert into Mitglieder (Mitgliedsnummer) values (41)"));
    QCOMPARE(Members::fGetMaxMitgliedNr(), 42);

    // Unticked, the number is the desk's to type, and posting waits for it.
    window->cb_mitohne->setChecked(false);
    Answers answers;
    answers.answer = Messages::Answer::Ok;
    window->DBNavigator->press(RecordNavigator::Insert);
    QVERIFY(dataEdit("ed_mitgliedsnummer")->text().isEmpty());
    dataEdit("ed_nachname")->setText(QStringLiteral("Berg"));
    window->DBNavigator->press(RecordNavigator::Post);
    QCOMPARE(answers.asked.size(), 1);
    QCOMPARE(window->TableMitglieder()->state(), RecordSet::State::Insert);
    dataEdit("ed_mitgliedsnummer")->setText(QStringLiteral("7"));
    window->DBNavigator->press(RecordNavigator::Post);
    QCOMPARE(
        TestInstallation::scalar(QStringLiteral("select Nachname from Mitglieder where Mitgliedsnummer = 7"))
            .toString(),
        QStringLiteral("Berg"));
}

void TestMembers::drawnNumberTakenMeanwhileGivesWayToTheNextFree_data()
{
    QTest::addColumn<QVariantList>("storedMeanwhile"); // by another desk, before this one posts
    QTest::addColumn<int>("posted");
    QTest::newRow("nothing stored") << QVariantList{} << 3;
    QTest::newRow("the drawn number") << QVariantList{3} << 4;
    QTest::newRow("the drawn number and a higher one") << QVariantList{3, 41} << 42;
    QTest::newRow("a higher one only") << QVariantList{41} << 3;
}

void TestMembers::drawnNumberTakenMeanwhileGivesWayToTheNextFree()
{
    QFETCH(QVariantList, storedMeanwhile);
    QFETCH(int, posted);
    startAddingAfterTwo(true);
    QCOMPARE(dataEdit("ed_mitgliedsnummer")->text(), QStringLiteral("3"));
    for (const QVariant& number : storedMeanwhile)
        TestInstallation::exec("insert into Mitglieder (Mitgliedsnummer, Nachname) values (?, ?)",
                               {number, "Other" + number.toString()});
    dataEdit("ed_nachname")->setText(QStringLiteral("Neu"));
    Answers answers;
    window->DBNavigator->press(RecordNavigator::Post);
    QCOMPARE(answers.asked, QStringList());
    QCOMPARE(window->TableMitglieder()->state(), RecordSet::State::Browse);
    QCOMPARE(storedNumber("Neu"), posted);
    QCOMPARE(dataEdit("ed_mitgliedsnummer")->text(), QString::number(posted));
    for (const QVariant& number : storedMeanwhile)
        QCOMPARE(storedNumber("Other" + number.toString()), number.toInt());
}

void TestMembers::numberTypedByHandIsNeverChanged_data()
{
    QTest::addColumn<bool>("autoserve");
    QTest::newRow("autoserve unticked") << false;
    QTest::newRow("drawn, then typed over") << true;
}

void TestMembers::numberTypedByHandIsNeverChanged()
{
    QFETCH(bool, autoserve);
    startAddingAfterTwo(autoserve);
    dataEdit("ed_mitgliedsnummer")->setText(QStringLiteral("2"));
    dataEdit("ed_nachname")->setText(QStringLiteral("Neu"));
    Answers answers;
    window->DBNavigator->press(RecordNavigator::Post);
    // The key refuses the duplicate; the desk corrects or cancels what it typed.
    QCOMPARE(answers.asked.size(), 1);
    QVERIFY2(answers.asked.first().contains("Key violation"), qPrintable(answers.asked.first()));
    QCOMPARE(window->TableMitglieder()->state(), RecordSet::State::Insert);
    QCOMPARE(dataEdit("ed_mitgliedsnummer")->text(), QStringLiteral("2"));
    QCOMPARE(TestInstallation::scalar("select count(*) from Mitglieder where Nachname = 'Neu'").toInt(), 0);
    QCOMPARE(storedNumber("Berg"), 2);
}

void TestMembers::twoDesksAddingAtOnceStoreDifferentNumbers_data()
{
    QTest::addColumn<bool>("autoserve");
    QTest::newRow("number drawn") << true;
    QTest::newRow("number typed by hand") << false;
}

void TestMembers::twoDesksAddingAtOnceStoreDifferentNumbers()
{
    if (Store::engine() == Engine::SQLite)
        QSKIP("SQLite's write lock, taken at the beginning, makes every writer wait for the other");
    QFETCH(bool, autoserve);
    startAddingAfterTwo(autoserve);
    if (!autoserve)
        dataEdit("ed_mitgliedsnummer")->setText(QStringLiteral("3"));
    dataEdit("ed_nachname")->setText(QStringLiteral("Neu"));
    // The other desk adds its member as 3 and has not committed yet.
    RacingDesk other(installation->connectionString(), "member", [](QSqlDatabase& db) {
        QSqlQuery add(db);
        if (add.exec("insert into Mitglieder (Mitgliedsnummer, Nachname) values (3, 'Other')"))
            return true;
        qWarning("%s", qPrintable(add.lastError().text()));
        return false;
    });
    QTRY_VERIFY(other.holding);
    QVERIFY(other.worked);
    Answers answers;
    window->DBNavigator->press(RecordNavigator::Post);
    QTRY_VERIFY_WITH_TIMEOUT(other.done, 15000);
    QVERIFY(other.waited);
    QVERIFY(other.committed);
    QCOMPARE(storedNumber("Other"), 3);
    if (autoserve) {
        QCOMPARE(answers.asked, QStringList());
        QCOMPARE(storedNumber("Neu"), 4);
        QCOMPARE(dataEdit("ed_mitgliedsnummer")->text(), QStringLiteral("4"));
    } else {
        QCOMPARE(answers.asked.size(), 1);
        QVERIFY2(answers.asked.first().contains("Key violation"), qPrintable(answers.asked.first()));
        QCOMPARE(TestInstallation::scalar("select count(*) from Mitglieder where Nachname = 'Neu'").toInt(),
                 0);
    }
}

void TestMembers::search_data()
{
    QTest::addColumn<QStringList>("texts"); // number, first name, surname, ZIP, city
    QTest::addColumn<QList<int>>("found");
    QTest::newRow("nothing filled shows all")
        << QStringList{"", "", "", "", ""} << QList<int>{1, 2, 3, 4, 12};
    QTest::newRow("whole surname, case counts") << QStringList{"", "", "Abel", "", ""} << QList<int>{1};
    QTest::newRow("part of a surname finds none") << QStringList{"", "", "Abe", "", ""} << QList<int>{};
    QTest::newRow("asterisk finds the beginnings") << QStringList{"", "", "Ab*", "", ""} << QList<int>{1, 3};
    QTest::newRow("apostrophe is a letter") << QStringList{"", "", "O'Neil", "", ""} << QList<int>{2};
    QTest::newRow("apostrophe before asterisk") << QStringList{"", "", "O'*", "", ""} << QList<int>{2};
    QTest::newRow("filled edits combine") << QStringList{"", "Jo", "", "", "Berlin"} << QList<int>{1};
    QTest::newRow("number whole") << QStringList{"12", "", "", "", ""} << QList<int>{12};
    QTest::newRow("number beginning") << QStringList{"1*", "", "", "", ""} << QList<int>{1, 12};
    QTest::newRow("zip") << QStringList{"", "", "", "10115", ""} << QList<int>{1, 2, 4};
}

void TestMembers::search()
{
    QFETCH(QStringList, texts);
    TestInstallation::exec(
        QStringLiteral("insert into Mitglieder (Mitgliedsnummer, Nachname, Vorname, PLZ, Ort) values "
                       "(1, 'Abel', 'Jo', '10115', 'Berlin'), (2, 'O''Neil', 'Ann', '10115', 'Berlin'), "
                       "(3, 'Abendroth', 'Jo', '14513', 'Teltow'), (4, 'abel', 'Max', '10115', 'Berlin'), "
                       "(12, 'Berg', 'Jo', '20095', 'Hamburg')"));
    window->show();
    QAbstractItemModelTester tester(window->gr_mitglieder->model());
    QLineEdit* edits[] = {window->EditNr, window->EditVNam, window->EditNNam, window->EditPlz,
                          window->EditOrt};
    for (int i = 0; i < 5; ++i)
        edits[i]->setText(texts[i]);
    Answers answers;
    QTest::mouseClick(window->btn_suchen, Qt::LeftButton);
    QCOMPARE(answers.asked, QStringList{});
    QTEST(shownNumbers(), "found");
    QCOMPARE(window->gr_mitglieder->model()->rowCount(), shownNumbers().size());

    // The navigator walks the found members; ending the search shows all and keeps the texts.
    window->DBNavigator->press(RecordNavigator::Last);
    QFETCH(QList<int>, found);
    if (!found.isEmpty())
        QCOMPARE(dataEdit("ed_mitgliedsnummer")->text(), QString::number(found.last()));
    QTest::mouseClick(window->btn_suchenende, Qt::LeftButton);
    QCOMPARE(shownNumbers(), (QList<int>{1, 2, 3, 4, 12}));
    for (int i = 0; i < 5; ++i)
        QCOMPARE(edits[i]->text(), texts[i]);
}

void TestMembers::searchPrefixCountsCharacters()
{
    // A prefix with an emoji, one character of two UTF-16 units, as the store counts it.
    const QString ball = QString::fromUtf8("\xF0\x9F\x8E\xBE");
    TestInstallation::exec("insert into Mitglieder (Mitgliedsnummer, Nachname) values (1, ?), (2, ?), (3, ?)",
                           {ball + "Abel", ball + "Berg", "Abel"});
    window->show();
    window->EditNNam->setText(ball + "A*");
    Answers answers;
    QTest::mouseClick(window->btn_suchen, Qt::LeftButton);
    QCOMPARE(answers.asked, QStringList{});
    QCOMPARE(shownNumbers(), QList<int>{1});
}

void TestMembers::deletingTakesTheMonthlyDiscounts()
{
    TestInstallation::exec(
        QStringLiteral("insert into Mitglieder (Mitgliedsnummer, Nachname) values (7, 'Abel'), (8, 'Berg')"));
    TestInstallation::exec(QStringLiteral(
        "insert into Monatsrabatt (Mitglied, Monat, Rabatt) values (7, 1, 5), (7, 2, 5), (8, 1, 5)"));
    window->show();
    QCOMPARE(window->lbl_nachname->text(), QStringLiteral("Abel"));
    Answers answers;
    answers.answer = Messages::Answer::Yes;
    window->DBNavigator->press(RecordNavigator::Delete);
    QCOMPARE(answers.asked.size(), 1);
    QCOMPARE(
        TestInstallation::scalar(QStringLiteral("select count(*) from Mitglieder where Mitgliedsnummer = 7"))
            .toInt(),
        0);
    QCOMPARE(TestInstallation::scalar(QStringLiteral("select count(*) from Monatsrabatt where Mitglied = 7"))
                 .toInt(),
             0);
    QCOMPARE(TestInstallation::scalar(QStringLiteral("select count(*) from Monatsrabatt where Mitglied = 8"))
                 .toInt(),
             1);
    QCOMPARE(window->lbl_nachname->text(), QStringLiteral("Berg"));
}

void TestMembers::pagesCaptionsAndHints()
{
    window->show();
    QCOMPARE(window->PageControl->tabText(0), QStringLiteral("&Datas"));
    QCOMPARE(window->PageControl->tabText(1), QStringLiteral("&Search"));
    QCOMPARE(window->PageControl->tabText(2), QStringLiteral("&Overview"));
    const QStringList hints{"first dataset",        "one step back",   "one step forward", "last dataset",
                            "append dataset",       "delete dataset",  "edit dataset",     "adopt changes",
                            "abort without change", "show dataset new"};
    for (int i = 0; i < 10; ++i)
        QCOMPARE(window->DBNavigator->button(RecordNavigator::Button(1 << i))->toolTip(), hints[i]);
    QStringList titles;
    for (int c = 0; c < window->gr_mitglieder->model()->columnCount(); ++c)
        titles << window->gr_mitglieder->model()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(titles, (QStringList{"Member Nr.", "Surname", "First Name", "City", "ZIP", "Street", "HouseNr.",
                                  "Telefon", "Entrace", "Leaved", "Birthday", "Discount", "Others"}));
    // Every data field is reachable by its caption; the city and house number by their own names.
    for (const char* name : {"ed_ort", "ed_hausnummer", "ed_sonstiges"}) {
        QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(window->form()->control(name));
        QVERIFY2(!spoken->text(QAccessible::Name).isEmpty(), name);
    }
    QCOMPARE(dataEdit("ed_mitgliedsnummer")->maxLength(), 7);
    QCOMPARE(window->EditNr->maxLength(), 7);
    // Texts are capped in characters, as the table counts them.
    const auto* others = qobject_cast<const TextLimit*>(dataEdit("ed_sonstiges")->validator());
    QVERIFY(others);
    QCOMPARE(others->characters(), 100);
    QVERIFY(window->enterMovesFocus());
    window->PageControl->setCurrentWidget(window->tbs_ueberblick);
    QVERIFY(!window->enterMovesFocus());
    window->PageControl->setCurrentWidget(window->TabSheetFilter);
    QVERIFY(window->enterMovesFocus());
}

void TestMembers::typingStartsEditingAndCancelUndoesIt()
{
    TestInstallation::exec(
        "insert into Mitglieder (Mitgliedsnummer, Nachname, Rabatt) values (1, 'Abel', 5), "
        "(2, 'Berg', 10)");
    showWindow();
    QToolButton* post = window->DBNavigator->button(RecordNavigator::Post);
    QToolButton* cancel = window->DBNavigator->button(RecordNavigator::Cancel);
    QVERIFY(!post->isEnabled() && !cancel->isEnabled());

    // A typing mistake: editing starts with the first key, and Cancel takes it back.
    QLineEdit* surname = dataEdit("ed_nachname");
    surname->setFocus();
    QTest::keyClicks(surname, "x");
    QCOMPARE(window->TableMitglieder()->state(), RecordSet::State::Edit);
    QVERIFY(post->isEnabled() && cancel->isEnabled());
    QTest::mouseClick(cancel, Qt::LeftButton);
    QCOMPARE(surname->text(), QStringLiteral("Abel"));
    QCOMPARE(window->TableMitglieder()->state(), RecordSet::State::Browse);
    QVERIFY(!post->isEnabled() && !cancel->isEnabled());

    // A typed discount goes with the member when the navigator moves on.
    QLineEdit* discount = dataEdit("ed_rabatt");
    discount->setFocus();
    discount->selectAll();
    QTest::keyClicks(discount, "7.5");
    QVERIFY(post->isEnabled());
    QTest::mouseClick(window->DBNavigator->button(RecordNavigator::Next), Qt::LeftButton);
    QCOMPARE(TestInstallation::scalar("select Rabatt from Mitglieder where Mitgliedsnummer = 1").toDouble(),
             7.5);
    QCOMPARE(discount->text(), QStringLiteral("10"));
}

void TestMembers::typedChangeIsStoredBeforeTheRegisterOpensAgain_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("refused");
    for (const char* action : {"Start searching", "Start searching without a text", "End searching",
                               "closing", "moving in the overview"}) {
        QTest::addRow("%s", action) << action << false;
        QTest::addRow("%s, refused", action) << action << true;
    }
}

void TestMembers::typedChangeIsStoredBeforeTheRegisterOpensAgain()
{
    QFETCH(QString, action);
    QFETCH(bool, refused);
    TestInstallation::exec(
        "insert into Mitglieder (Mitgliedsnummer, Nachname) values (1, 'Abel'), (2, 'Berg')");
    showWindow();
    if (refused)
        addRefusingTrigger("refuse", "Mitglieder", "update", QString(), "Member is locked");
    QLineEdit* surname = dataEdit("ed_nachname");
    surname->setFocus();
    surname->end(false);
    QTest::keyClicks(surname, "e");
    if (action == "Start searching")
        window->EditNr->setText("1");
    Answers answers;
    if (action.startsWith("Start searching")) {
        QTest::mouseClick(window->btn_suchen, Qt::LeftButton);
    } else if (action == "End searching") {
        QTest::mouseClick(window->btn_suchenende, Qt::LeftButton);
    } else if (action == "closing") {
        QTest::keyClick(window.get(), Qt::Key_Escape); // presses Close
    } else {
        window->PageControl->setCurrentWidget(window->tbs_ueberblick);
        window->gr_mitglieder->setCurrentIndex(window->gr_mitglieder->model()->index(1, 1));
    }
    const QString stored =
        TestInstallation::scalar("select Nachname from Mitglieder where Mitgliedsnummer = 1").toString();
    if (!refused) {
        QCOMPARE(answers.asked, QStringList());
        QCOMPARE(stored, QStringLiteral("Abele"));
        QCOMPARE(window->isVisible(), action != "closing");
        if (action == "Start searching")
            QCOMPARE(shownNumbers(), QList<int>{1});
        return;
    }
    // Refused: the table's message, and the window stays as it was with the change still typed.
    QCOMPARE(answers.asked.size(), 1);
    QVERIFY2(answers.asked.first().contains("Member is locked"), qPrintable(answers.asked.first()));
    QCOMPARE(stored, QStringLiteral("Abel"));
    QVERIFY(window->isVisible());
    QCOMPARE(window->TableMitglieder()->state(), RecordSet::State::Edit);
    QCOMPARE(window->TableMitglieder()->recNo(), 0);
    QCOMPARE(surname->text(), QStringLiteral("Abele"));
    QCOMPARE(shownNumbers(), (QList<int>{1, 2}));
}

QTEST_MAIN(TestMembers)
#include "tst_members.moc"
