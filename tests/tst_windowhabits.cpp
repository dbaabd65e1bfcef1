#include "answers.h"
#include "data/daycount.h"
#include "data/recordset.h"
#include "data/recordsetmodel.h"
#include "platform/messages.h"
#include "platform/usersettings.h"
#include "testinstallation.h"
#include "ui/deskwindow.h"
#include "ui/fieldcontrols.h"
#include "ui/fieldform.h"
#include "ui/helpviewer.h"
#include "ui/recordgrid.h"
#include "ui/recordnavigator.h"

#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QCheckBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>

#include <QDataWidgetMapper>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// A window as the program builds them: two edits, a default button and a close button.
class Sample : public DeskWindow {
public:
    Sample()
        : DeskWindow(QStringLiteral("frm_sample"), QStringLiteral("Sample"))
    {
        auto* layout = new QVBoxLayout(this);
        first = new QLineEdit(this);
        second = new QLineEdit(this);
        notes = new QPlainTextEdit(this);
        ok = new QPushButton(QStringLiteral("OK"), this);
        ok->setDefault(true);
        close = new QPushButton(QStringLiteral("&Close"), this);
        for (QWidget* w : std::initializer_list<QWidget*>{first, second, notes, ok, close})
            layout->addWidget(w);
        connect(close, &QPushButton::clicked, this, &QDialog::close);
    }
    QLineEdit* first;
    QLineEdit* second;
    QPlainTextEdit* notes;
    QPushButton* ok;
    QPushButton* close;
};

} // namespace

class TestWindowHabits : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void enterMovesFocusAndIsDropped();
    void enterStaysInAMultiLineText();
    void escapePressesTheNamedButton();
    void placementIsKeptPerWindow();
    void placementOffEveryScreenIsCentred();
    void windowReopensWhereItWasClosed();
    void f1OpensTheWindowsTopic();
    void independentWindowComesToTheFront();
    void navigatorButtonsFollowTheRows();
    void navigatorInsertPostCancel();
    void navigatorDeleteAsksFirst();
    void navigatorShowsStoreErrors();
    void navigatorShowsTheNamedButtons();
    void helpOpenedFromAModalWindowCanBeUsed();
    void fieldFormBindsLabelledCappedControls();
    void fieldFormChoicesChecksAndDates();
    void gridIsATableToScreenReaders();

private:
    std::unique_ptr<TestInstallation> installation_;
};

void TestWindowHabits::init()
{
    installation_ = std::make_unique<TestInstallation>();
    QVERIFY(installation_->isValid());
}

void TestWindowHabits::cleanup()
{
    Help::quit();
    installation_.reset();
}

void TestWindowHabits::enterMovesFocusAndIsDropped()
{
    Sample w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QSignalSpy returned(w.first, &QLineEdit::returnPressed);
    QSignalSpy okClicked(w.ok, &QPushButton::clicked);
    w.first->setFocus();
    QTest::keyClick(w.first, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), w.second);
    QTest::keyClick(w.second, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(QApplication::focusWidget(), w.notes);
    // Enter on a button moves on as well instead of pressing it.
    w.ok->setFocus();
    QTest::keyClick(w.ok, Qt::Key_Return);
    QCOMPARE(returned.count(), 0);
    QCOMPARE(okClicked.count(), 0);
    QCOMPARE(QApplication::focusWidget(), w.close);
    QVERIFY(w.isVisible());

    w.setEnterMovesFocus(false);
    w.first->setFocus();
    QTest::keyClick(w.first, Qt::Key_Return);
    QCOMPARE(returned.count(), 1);
}

void TestWindowHabits::enterStaysInAMultiLineText()
{
    Sample w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.notes->setFocus();
    QTest::keyClicks(w.notes, QStringLiteral("a"));
    QTest::keyClick(w.notes, Qt::Key_Return);
    QTest::keyClicks(w.notes, QStringLiteral("b"));
    QCOMPARE(w.notes->toPlainText(), QStringLiteral("a\nb"));
    QCOMPARE(QApplication::focusWidget(), w.notes);
}

void TestWindowHabits::escapePressesTheNamedButton()
{
    Sample w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.first->setFocus();
    // Without a named button Esc leaves the window alone.
    QTest::keyClick(w.first, Qt::Key_Escape);
    QVERIFY(w.isVisible());
    QSignalSpy closed(w.close, &QPushButton::clicked);
    w.setEscapeButton(w.close);
    QTest::keyClick(w.first, Qt::Key_Escape);
    QCOMPARE(closed.count(), 1);
    QVERIFY(!w.isVisible());
}

void TestWindowHabits::placementIsKeptPerWindow()
{
    {
        Sample w;
        w.resize(200, 150);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.move(130, 90);
        w.hide();
    }
    QCOMPARE(UserSettings::value(QStringLiteral("frm_sample"), QStringLiteral("Left")).toInt(), 130);
    QCOMPARE(UserSettings::value(QStringLiteral("frm_sample"), QStringLiteral("Top")).toInt(), 90);
    Sample again;
    again.resize(200, 150);
    again.show();
    QCOMPARE(again.pos(), QPoint(130, 90));
}

void TestWindowHabits::placementOffEveryScreenIsCentred()
{
    UserSettings::setValue(QStringLiteral("frm_sample"), QStringLiteral("Left"), 50000);
    UserSettings::setValue(QStringLiteral("frm_sample"), QStringLiteral("Top"), 50000);
    Sample w;
    w.resize(200, 150);
    w.show();
    const QRect area = w.screen()->availableGeometry();
    QVERIFY(area.contains(w.frameGeometry().center(), false));
    QVERIFY(qAbs(w.frameGeometry().center().x() - area.center().x()) <= 2);
}

void TestWindowHabits::windowReopensWhereItWasClosed()
{
    const bool underWindowManager = qEnvironmentVariableIsSet("TST_UNDER_WINDOW_MANAGER");
    if (underWindowManager) {
        // The manager runs once it frames a new window.
        std::unique_ptr<QWidget> probe;
        const auto framed = [&probe] {
            probe = std::make_unique<QWidget>();
            probe->resize(50, 50);
            probe->show();
            return QTest::qWaitForWindowExposed(probe.get()) &&
                   QTest::qWaitFor([&probe] { return probe->frameGeometry() != probe->geometry(); }, 500);
        };
        QTRY_VERIFY_WITH_TIMEOUT(framed(), 20000);
        probe.reset();
    }
    QRect area;
    {
        Sample w;
        w.resize(200, 150);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.setGeometry(QRect(QPoint(240, 160), w.size()));
        QTRY_COMPARE(w.geometry().topLeft(), QPoint(240, 160));
        QTRY_VERIFY(!underWindowManager || w.frameGeometry() != w.geometry());
        area = w.geometry();
        w.hide();
    }
    // Run after run, the window comes back to the same place, not a title bar higher.
    for (int run = 0; run < 3; ++run) {
        Sample again;
        again.resize(200, 150);
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        QTRY_COMPARE(again.geometry(), area);
        again.hide();
    }
    // Only a window manager adds a frame that becomes known after the window is placed. Where a
    // virtual screen and a manager are at hand, the same runs are made under them.
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    const QString manager = QStandardPaths::findExecutable(QStringLiteral("openbox"));
    if (underWindowManager || xvfb.isEmpty() || manager.isEmpty())
        return;
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("TST_UNDER_WINDOW_MANAGER"), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(xvfb, {QStringLiteral("-a"), QStringLiteral("sh"), QStringLiteral("-c"),
                       QStringLiteral("\"$1\" & exec \"$0\" windowReopensWhereItWasClosed"),
                       QCoreApplication::applicationFilePath(), manager});
    QVERIFY(child.waitForFinished(120000));
    const QByteArray said = child.readAll();
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, said.constData());
}

void TestWindowHabits::f1OpensTheWindowsTopic()
{
    Sample w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.first->setFocus();
    QTest::keyClick(w.first, Qt::Key_F1);
    QVERIFY(!Help::viewer()); // no topic, no help
    w.setHelpTopic(700);
    QTest::keyClick(w.first, Qt::Key_F1);
    QVERIFY(Help::viewer() && Help::viewer()->isVisible());
    QCOMPARE(Help::browser()->source().fragment(), QStringLiteral("topic700"));
    // The page carries the anchor the topic opens at.
    QVERIFY(Help::browser()->toHtml().contains(QStringLiteral("Parameters")));
    Help::showContents();
    QVERIFY(Help::browser()->source().fragment().isEmpty());
    Help::quit();
    QVERIFY(!Help::viewer());
}

void TestWindowHabits::independentWindowComesToTheFront()
{
    Sample w;
    w.showIndependent();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    Sample other;
    other.setObjectName(QStringLiteral("frm_other"));
    other.showIndependent();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    w.showIndependent();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QVERIFY(w.isVisible() && other.isVisible());
}

void TestWindowHabits::navigatorButtonsFollowTheRows()
{
    RecordSet names;
    names.openTable(QStringLiteral("Namen"), QStringLiteral("Name"));
    RecordNavigator nav;
    nav.setRecords(&names);
    auto enabled = [&nav](RecordNavigator::Button b) { return nav.button(b)->isEnabled(); };
    // Empty: only insert and refresh.
    QVERIFY(!enabled(RecordNavigator::First) && !enabled(RecordNavigator::Next));
    QVERIFY(!enabled(RecordNavigator::Delete) && !enabled(RecordNavigator::Edit));
    QVERIFY(enabled(RecordNavigator::Insert) && enabled(RecordNavigator::Refresh));

    TestInstallation::exec(
        QStringLiteral("insert into Namen values ('Abel', '1'), ('Berg', '2'), ('Cole', '3')"));
    nav.press(RecordNavigator::Refresh);
    QCOMPARE(names.count(), 3);
    QCOMPARE(names.recNo(), 0);
    QVERIFY(!enabled(RecordNavigator::First) && !enabled(RecordNavigator::Prior));
    QVERIFY(enabled(RecordNavigator::Next) && enabled(RecordNavigator::Last));
    nav.press(RecordNavigator::Last);
    QCOMPARE(names.field(QStringLiteral("Name")).asString(), QStringLiteral("Cole"));
    QVERIFY(enabled(RecordNavigator::First) && !enabled(RecordNavigator::Next));
    nav.press(RecordNavigator::Prior);
    QCOMPARE(names.field(QStringLiteral("Name")).asString(), QStringLiteral("Berg"));
    QVERIFY(!enabled(RecordNavigator::Post) && !enabled(RecordNavigator::Cancel));
    nav.press(RecordNavigator::Edit);
    QVERIFY(enabled(RecordNavigator::Post) && enabled(RecordNavigator::Cancel) &&
            !enabled(RecordNavigator::Edit));

    names.setReadOnly(true);
    nav.updateButtons();
    QVERIFY(!enabled(RecordNavigator::Insert) && !enabled(RecordNavigator::Delete));
}

void TestWindowHabits::navigatorInsertPostCancel()
{
    RecordSet names;
    names.openTable(QStringLiteral("Namen"), QStringLiteral("Name"));
    RecordSetModel model(&names);
    QDataWidgetMapper mapper;
    mapper.setModel(&model);
    QLineEdit name, phone;
    mapper.addMapping(&name, names.fieldIndex(QStringLiteral("Name")));
    mapper.addMapping(&phone, names.fieldIndex(QStringLiteral("Telefonnummer")));
    RecordNavigator nav;
    nav.setRecords(&names);
    nav.setMapper(&mapper);

    nav.press(RecordNavigator::Insert);
    QCOMPARE(names.state(), RecordSet::State::Insert);
    name.setText(QStringLiteral("Dahl"));
    phone.setText(QStringLiteral("030 55"));
    nav.press(RecordNavigator::Post);
    QCOMPARE(names.state(), RecordSet::State::Browse);
    QCOMPARE(TestInstallation::scalar(QStringLiteral("select Telefonnummer from Namen where Name = 'Dahl'"))
                 .toString(),
             QStringLiteral("030 55"));

    // A change given up leaves the stored row and the controls as they were.
    nav.press(RecordNavigator::Edit);
    phone.setText(QStringLiteral("999"));
    nav.press(RecordNavigator::Cancel);
    QCOMPARE(phone.text(), QStringLiteral("030 55"));
    QCOMPARE(TestInstallation::scalar(QStringLiteral("select Telefonnummer from Namen where Name = 'Dahl'"))
                 .toString(),
             QStringLiteral("030 55"));

    nav.press(RecordNavigator::Insert);
    name.setText(QStringLiteral("Ernst"));
    nav.press(RecordNavigator::Cancel);
    QCOMPARE(TestInstallation::scalar(QStringLiteral("select count(*) from Namen")).toInt(), 1);
}

void TestWindowHabits::navigatorDeleteAsksFirst()
{
    TestInstallation::exec(QStringLiteral("insert into Namen values ('Abel', '1'), ('Berg', '2')"));
    RecordSet names;
    names.openTable(QStringLiteral("Namen"), QStringLiteral("Name"));
    RecordNavigator nav;
    nav.setRecords(&names);
    Answers answers;
    nav.press(RecordNavigator::Delete);
    QCOMPARE(answers.asked, QStringList{QStringLiteral("Delete record?")});
    QCOMPARE(names.count(), 2);
    answers.answer = Messages::Answer::Yes;
    nav.press(RecordNavigator::Delete);
    QCOMPARE(TestInstallation::scalar(QStringLiteral("select Name from Namen")).toString(),
             QStringLiteral("Berg"));
    nav.setDeleteQuestion({});
    nav.press(RecordNavigator::Delete);
    QCOMPARE(answers.asked.size(), 2);
    QCOMPARE(TestInstallation::scalar(QStringLiteral("select count(*) from Namen")).toInt(), 0);
}

void TestWindowHabits::navigatorShowsStoreErrors()
{
    TestInstallation::exec(QStringLiteral("insert into Namen values ('Abel', '1')"));
    RecordSet names;
    names.openTable(QStringLiteral("Namen"), QStringLiteral("Name"));
    RecordNavigator nav;
    nav.setRecords(&names);
    Answers answers;
    // A second row with the same key breaks the table's key: the store says so, the row waits.
    nav.press(RecordNavigator::Insert);
    names.setField(QStringLiteral("Name"), QStringLiteral("Abel"));
    nav.press(RecordNavigator::Post);
    QCOMPARE(answers.asked.size(), 1);
    QVERIFY(answers.asked.first().contains(QStringLiteral("UNIQUE"), Qt::CaseInsensitive));
    QCOMPARE(names.state(), RecordSet::State::Insert);
    QVERIFY(nav.button(RecordNavigator::Cancel)->isEnabled());
}

void TestWindowHabits::navigatorShowsTheNamedButtons()
{
    RecordNavigator nav;
    nav.setVisibleButtons(RecordNavigator::First | RecordNavigator::Next | RecordNavigator::Post);
    nav.setHint(RecordNavigator::Next, QStringLiteral("next item"));
    nav.show();
    QVERIFY(nav.button(RecordNavigator::First)->isVisible());
    QVERIFY(nav.button(RecordNavigator::Post)->isVisible());
    QVERIFY(!nav.button(RecordNavigator::Delete)->isVisible());
    QVERIFY(!nav.button(RecordNavigator::Refresh)->isVisible());
    QCOMPARE(nav.button(RecordNavigator::Next)->toolTip(), QStringLiteral("next item"));
    QCOMPARE(nav.button(RecordNavigator::Next)->objectName(), QStringLiteral("nbNext"));
}

void TestWindowHabits::helpOpenedFromAModalWindowCanBeUsed()
{
    QMainWindow main;
    main.show();
    Sample w;
    w.setHelpTopic(700);
    bool closedWhileModal = false;
    bool backWithMain = false;
    int round = 0;
    const auto inModal = [&] {
        QTest::keyClick(w.first, Qt::Key_F1);
        QWidget* viewer = Help::viewer();
        QVERIFY(viewer && viewer->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(viewer));
        if (round++ == 0) {
            // A click reaches the viewer's Close through the window system, where modality rules.
            auto* close = viewer->findChild<QPushButton*>(QStringLiteral("btn_close"));
            QTest::mouseClick(viewer->windowHandle(), Qt::LeftButton, {},
                              close->mapTo(viewer, close->rect().center()));
            closedWhileModal = !viewer->isVisible() && w.isVisible();
        }
        w.QDialog::close();
    };
    QTimer::singleShot(0, this, inModal);
    w.showModal();
    QVERIFY(closedWhileModal);

    // Left open, the viewer outlives the modal window and goes back to the main window.
    QTimer::singleShot(0, this, inModal);
    w.showModal();
    QWidget* viewer = Help::viewer();
    backWithMain = viewer && viewer->isVisible() && viewer->parentWidget() == &main && viewer->isWindow();
    QVERIFY(backWithMain);
}

namespace {

// A window that edits members through a field table, as the members register will.
struct MemberForm {
    RecordSet records;
    RecordSetModel model{&records};
    QWidget window;
    QGridLayout* layout = new QGridLayout(&window);
    FieldForm form{&model, &window};
    RecordNavigator nav;

    MemberForm()
    {
        form.build(layout, {{"ed_nummer", "&Number", "Mitgliedsnummer", FormField::Kind::Integer},
                            {"ed_nachname", "&Surname", "Nachname"},
                            {"ed_eintritt", "&Joined", "Eintritt", FormField::Kind::Date},
                            {"ed_rabatt", "&Discount", "Rabatt", FormField::Kind::Number}});
        records.openTable(QStringLiteral("Mitglieder"), QStringLiteral("Mitgliedsnummer"));
        nav.setRecords(&records);
        nav.setMapper(form.mapper());
    }
    QLineEdit* edit(const char* name) { return qobject_cast<QLineEdit*>(form.control(QLatin1String(name))); }
};

} // namespace

void TestWindowHabits::fieldFormBindsLabelledCappedControls()
{
    TestInstallation::exec(QStringLiteral("insert into Mitglieder (Mitgliedsnummer, Nachname, Rabatt) "
                                          "values (4, 'Abel', 5), (7, 'Berg', 10)"));
    MemberForm f;
    QCOMPARE(f.edit("ed_nummer")->text(), QStringLiteral("4"));
    QCOMPARE(f.edit("ed_nachname")->text(), QStringLiteral("Abel"));
    const auto* surname = qobject_cast<const TextLimit*>(f.edit("ed_nachname")->validator());
    QVERIFY(surname);
    QCOMPARE(surname->characters(), 30); // counted in characters, as the table counts them
    QCOMPARE(f.form.label(QStringLiteral("ed_nachname"))->buddy(),
             f.form.control(QStringLiteral("ed_nachname")));
    QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(f.edit("ed_nachname"));
    QCOMPARE(spoken->text(QAccessible::Name), QStringLiteral("Surname"));

    // The number, then the name of the same member, in one showing: both are kept.
    f.nav.press(RecordNavigator::Edit);
    f.edit("ed_nummer")->setText(QStringLiteral("40"));
    f.nav.press(RecordNavigator::Post);
    f.nav.press(RecordNavigator::Edit);
    f.edit("ed_nachname")->setText(QStringLiteral("Abele"));
    f.nav.press(RecordNavigator::Post);
    QCOMPARE(
        TestInstallation::scalar(QStringLiteral("select Nachname from Mitglieder where Mitgliedsnummer = 40"))
            .toString(),
        QStringLiteral("Abele"));
    QCOMPARE(TestInstallation::scalar(QStringLiteral("select count(*) from Mitglieder")).toInt(), 2);

    // A member without a number is refused with the field's name, and what was typed stays.
    Answers answers;
    answers.answer = Messages::Answer::Ok;
    f.nav.press(RecordNavigator::Insert);
    f.edit("ed_nachname")->setText(QStringLiteral("Cole"));
    f.nav.press(RecordNavigator::Post);
    QCOMPARE(answers.asked, QStringList{QStringLiteral("Field 'Mitgliedsnummer' must have a value.")});
    QCOMPARE(f.records.state(), RecordSet::State::Insert);
    QCOMPARE(f.edit("ed_nachname")->text(), QStringLiteral("Cole"));
    f.edit("ed_nummer")->setText(QStringLiteral("8"));
    f.nav.press(RecordNavigator::Post);
    QCOMPARE(
        TestInstallation::scalar(QStringLiteral("select Nachname from Mitglieder where Mitgliedsnummer = 8"))
            .toString(),
        QStringLiteral("Cole"));
}

void TestWindowHabits::fieldFormChoicesChecksAndDates()
{
    RecordSet parameters;
    RecordSetModel model(&parameters);
    QWidget window;
    auto* layout = new QGridLayout(&window);
    FieldForm form(&model, &window);
    form.build(layout, {{"RxDBComboBox1",
                         "Format",
                         "Belegdruck",
                         FormField::Kind::Choice,
                         {{"4 1/4 x 5 1/2 Inches", 0}, {"A5 Format", 1}}},
                        {"cb_licht", "Light switching", "Lichtschaltung", FormField::Kind::Boolean}});
    parameters.openQuery(QStringLiteral("select * from Kennzahlen"));
    RecordNavigator nav;
    nav.setRecords(&parameters);
    nav.setMapper(form.mapper());
    auto* format = qobject_cast<ChoiceBox*>(form.control(QStringLiteral("RxDBComboBox1")));
    auto* light = qobject_cast<QCheckBox*>(form.control(QStringLiteral("cb_licht")));
    QVERIFY(format && light);
    const int stored = TestInstallation::scalar(QStringLiteral("select Belegdruck from Kennzahlen")).toInt();
    QCOMPARE(format->currentIndex(), stored);
    nav.press(RecordNavigator::Edit);
    format->setCurrentIndex(1 - stored);
    light->setChecked(!light->isChecked());
    const bool lit = light->isChecked();
    nav.press(RecordNavigator::Post);
    QCOMPARE(TestInstallation::scalar(QStringLiteral("select Belegdruck from Kennzahlen")).toInt(),
             1 - stored);
    QCOMPARE(TestInstallation::scalar(QStringLiteral("select Lichtschaltung from Kennzahlen")).toBool(), lit);

    // Dates: a day count shown as a date, emptied by Delete and stored empty.
    TestInstallation::exec(QStringLiteral("insert into Mitglieder (Mitgliedsnummer, Eintritt) values (1, ?)"),
                           {DayCount::fromDate(QDate(2024, 3, 1))});
    MemberForm f;
    auto* joined = qobject_cast<DayCountEdit*>(f.form.control(QStringLiteral("ed_eintritt")));
    QCOMPARE(joined->date(), QDate(2024, 3, 1));
    f.nav.press(RecordNavigator::Edit);
    joined->setDate(QDate(2025, 1, 31));
    f.nav.press(RecordNavigator::Post);
    QCOMPARE(TestInstallation::scalar(QStringLiteral("select Eintritt from Mitglieder")).toInt(),
             DayCount::fromDate(QDate(2025, 1, 31)));
    f.nav.press(RecordNavigator::Edit);
    QTest::keyClick(joined, Qt::Key_Delete);
    f.nav.press(RecordNavigator::Post);
    QVERIFY(TestInstallation::scalar(QStringLiteral("select Eintritt from Mitglieder")).isNull());
}

void TestWindowHabits::gridIsATableToScreenReaders()
{
    TestInstallation::exec(QStringLiteral("insert into Namen values ('Abel', '030 1'), ('Berg', '040 2')"));
    RecordSet names;
    names.openTable(QStringLiteral("Namen"), QStringLiteral("Name"));
    RecordSetModel model(&names);
    model.setColumns(
        {{QStringLiteral("Name"), QStringLiteral("Name"), 120, Qt::AlignCenter},
         {QStringLiteral("Telefonnummer"), QStringLiteral("Telefonnumber"), 90, Qt::AlignCenter}});
    RecordGrid grid(QStringLiteral("DBGrid1"), QStringLiteral("Names"));
    grid.setRecords(&model);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QCOMPARE(grid.columnWidth(0), 120);
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&grid);
    QCOMPARE(table->role(), QAccessible::Table);
    QCOMPARE(table->text(QAccessible::Name), QStringLiteral("Names"));
    QAccessibleTableInterface* cells = table->tableInterface();
    QVERIFY(cells);
    QCOMPARE(cells->rowCount(), 2);
    QCOMPARE(cells->columnDescription(1), QStringLiteral("Telefonnumber"));
    QCOMPARE(cells->cellAt(1, 1)->text(QAccessible::Name), QStringLiteral("040 2"));

    // The grid and the record set keep one current row, both ways.
    names.moveTo(1);
    QCOMPARE(grid.currentIndex().row(), 1);
    grid.setCurrentIndex(model.index(0, 0));
    QCOMPARE(names.recNo(), 0);
}

QTEST_MAIN(TestWindowHabits)
#include "tst_windowhabits.moc"
