#include "answers.h"
#include "courts/tcourt.h"
#include "courts/u_courts.h"
#include "data/daycount.h"
#include "data/recordset.h"
#include "platform/messages.h"
#include "platform/usersettings.h"
#include "reservations/reservationlist.h"
#include "reservations/u_namensliste.h"
#include "reservations/u_reservierungsliste.h"
#include "testinstallation.h"
#include "ui/forms.h"
#include "ui/recordgrid.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>
#include <QToolButton>

namespace {

// Wednesday, noon: the demo's bookings of the day before noon are paid, the later ones open.
const QDate today(2024, 5, 15);
const int todayCount = DayCount::fromDate(today);

const QString unpaidQuestion = QStringLiteral("Delete actual selected reservation ?");
const QString paidQuestion =
    QStringLiteral("The reservation which you want to delete is already payed !\n\nCancel ?");
const QString noCourt = QStringLiteral("Court does not exist !");

template <typename T> T* child(QWidget* window, const char* name)
{
    T* found = window->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

// The grid's lines as a screen reader reads them: "Reservator|Court|Begin|Quaters|Payed".
QStringList gridLines(QWidget* window)
{
    auto* grid = child<QTableView>(window, "DBGrid1");
    QAccessibleTableInterface* table = QAccessible::queryAccessibleInterface(grid)->tableInterface();
    QStringList lines;
    for (int row = 0; row < table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column)
            cells << table->cellAt(row, column)->text(QAccessible::Name);
        lines << cells.join(QLatin1Char('|'));
    }
    return lines;
}

// A click on the round mark, where a radio button takes it.
void clickChoice(QRadioButton* choice)
{
    QTest::mouseClick(choice, Qt::LeftButton, {}, QPoint(8, choice->height() / 2));
}

QColor buttonColour(QWidget* window, const QString& name)
{
    return window->findChild<QPushButton*>(name)->property("courtColour").value<QColor>();
}

int count(const QString& sql, const QVariantList& values = {})
{
    return TestInstallation::scalar(sql, values).toInt();
}

} // namespace

class TestReservationList : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void listsTheDay_data();
    void listsTheDay();
    void sortChoiceIsKeptAndKeepsDayAndCourt();
    void dayButtonsMoveTheList();
    void paidColoursUnlessHighlighted();
    void courtButtons_data();
    void courtButtons();
    void cancelling_data();
    void cancelling();
    void showingAgainLoadsAfresh();
    void closingRefreshesTheCourtPlan();
    void namesSortedWithCentredTitles();
    void duplicateNameStaysInEdit_data();
    void duplicateNameStaysInEdit();

private:
    std::unique_ptr<TestInstallation> installation_;
};

void TestReservationList::init()
{
    installation_ = std::make_unique<TestInstallation>(true, todayCount, todayCount + 0.5);
    QVERIFY2(installation_->isValid(), qPrintable(installation_->failure()));
}

void TestReservationList::cleanup()
{
    installation_.reset();
}

void TestReservationList::listsTheDay_data()
{
    QTest::addColumn<int>("dayOffset");
    QTest::addColumn<int>("court");
    QTest::addColumn<int>("order");
    QTest::addColumn<QStringList>("lines");
    const QString becker = QStringLiteral("Becker, Paul|1|12:00 pm|4|False");
    const QString duval = QStringLiteral("Duval|3|07:00 am|4|True");
    const QString hoffmann = QStringLiteral("Hoffmann, Emma|4|08:30 am|6|True");
    const QString evans = QStringLiteral("Evans|6|06:00 am|4|False");
    const QString koch = QStringLiteral("Koch, Felix|8|06:00 pm|4|False");
    QTest::newRow("all by reservator") << 0 << -1 << 0 << QStringList{becker, duval, evans, hoffmann, koch};
    QTest::newRow("all by court") << 0 << -1 << 1 << QStringList{becker, duval, hoffmann, evans, koch};
    QTest::newRow("one court") << 0 << 4 << 0 << QStringList{hoffmann};
    QTest::newRow("court without bookings") << 0 << 2 << 1 << QStringList{};
    // One save on courts 2 and 5 is one line per court.
    QTest::newRow("two-court booking by court")
        << 1 << -1 << 1
        << QStringList{QStringLiteral("Richter, Mia|2|05:00 pm|4|False"),
                       QStringLiteral("Team Evans|2|07:00 pm|4|False"),
                       QStringLiteral("Garcia|5|09:00 am|8|False"),
                       QStringLiteral("Team Evans|5|07:00 pm|4|False")};
    QTest::newRow("last quarter of the day")
        << 4 << -1 << 0 << QStringList{QStringLiteral("Late|7|11:45 pm|1|False")};
}

void TestReservationList::listsTheDay()
{
    QFETCH(int, dayOffset);
    QFETCH(int, court);
    QFETCH(int, order);
    QFETCH(QStringList, lines);
    TestInstallation::exec(
        QStringLiteral("insert into Reservierung values (90, ?, 24, 4, 7, 'Late', -17, 0, false)"),
        {todayCount + 4});
    Tfrm_reservierungsliste w;
    new QAbstractItemModelTester(const_cast<ReservationListModel*>(w.lines()),
                                 QAbstractItemModelTester::FailureReportingMode::QtTest, &w);
    w.showFor(today.addDays(dayOffset), court);
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    clickChoice(child<QRadioButton>(&w, order == 0 ? "rg_sortierung_0" : "rg_sortierung_1"));
    QCOMPARE(w.sortIndex(), order);
    QCOMPARE(gridLines(&w), lines);
    QCOMPARE(child<QLabel>(&w, "lbl_platz")->text(), QString::number(court));
    // The shown court's button is red and pressed, every other one is not.
    const QString selected = court == -1 ? QStringLiteral("pnl_all") : QStringLiteral("pnl_%1").arg(court);
    QCOMPARE(buttonColour(&w, selected), QColor(255, 0, 0));
    for (QPushButton* b : w.findChildren<QPushButton*>(QRegularExpression(QStringLiteral("^pnl_"))))
        QCOMPARE(b->isChecked(), b->objectName() == selected);
}

void TestReservationList::sortChoiceIsKeptAndKeepsDayAndCourt()
{
    {
        Tfrm_reservierungsliste w;
        w.showFor(today.addDays(1), 2);
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.sortIndex(), 0);
        clickChoice(child<QRadioButton>(&w, "rg_sortierung_1"));
        QCOMPARE(w.court(), 2);
        QCOMPARE(child<QDateEdit>(&w, "ed_datum")->date(), today.addDays(1));
        QCOMPARE(gridLines(&w).size(), 2);
        w.close();
    }
    QCOMPARE(UserSettings::value(QStringLiteral("frm_reservierungsliste"), QStringLiteral("rg_sortierung"))
                 .toInt(),
             1);
    Tfrm_reservierungsliste again;
    QCOMPARE(again.sortIndex(), 1);
    QVERIFY(child<QRadioButton>(&again, "rg_sortierung_1")->isChecked());
}

void TestReservationList::dayButtonsMoveTheList()
{
    Tfrm_reservierungsliste w;
    w.showFor(today, 5);
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(child<QLabel>(&w, "lbl_wochentag1")->text(), QStringLiteral("WE"));
    QVERIFY(gridLines(&w).isEmpty());
    QCOMPARE(child<QPushButton>(&w, "btn_nextday")->toolTip(), QStringLiteral("next day"));
    QCOMPARE(child<QPushButton>(&w, "btn_daybefore")->toolTip(), QStringLiteral("prior day"));
    QTest::mouseClick(child<QPushButton>(&w, "btn_nextday"), Qt::LeftButton);
    QCOMPARE(child<QDateEdit>(&w, "ed_datum")->date(), today.addDays(1));
    QCOMPARE(child<QLabel>(&w, "lbl_wochentag1")->text(), QStringLiteral("TH"));
    QCOMPARE(gridLines(&w), (QStringList{QStringLiteral("Garcia|5|09:00 am|8|False"),
                                         QStringLiteral("Team Evans|5|07:00 pm|4|False")}));
    QTest::mouseClick(child<QPushButton>(&w, "btn_daybefore"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(&w, "btn_daybefore"), Qt::LeftButton);
    QCOMPARE(child<QLabel>(&w, "lbl_wochentag1")->text(), QStringLiteral("TU"));
    QVERIFY(gridLines(&w).isEmpty());
    QCOMPARE(w.court(), 5);
}

void TestReservationList::paidColoursUnlessHighlighted()
{
    Tfrm_reservierungsliste w;
    w.showFor(today, -1);
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* grid = child<QTableView>(&w, "DBGrid1");
    // Lines by reservator: Becker (open, current), Duval (paid), Evans (open).
    QCOMPARE(grid->currentIndex().row(), 0);
    QCOMPARE(grid->model()->headerData(4, Qt::Horizontal).toString(), QStringLiteral("Payed"));
    const QImage shot = grid->viewport()->grab().toImage();
    const auto cellColour = [&](int row) {
        const QRect cell = grid->visualRect(grid->model()->index(row, 4));
        return QColor(shot.pixel(cell.left() + 3, cell.center().y()));
    };
    QCOMPARE(cellColour(1), QColor(0, 128, 0));
    QCOMPARE(cellColour(2), QColor(255, 255, 0));
    // The highlighted line shows the highlight, not its paid colour.
    const QColor current = cellColour(0);
    QVERIFY2(current != QColor(255, 255, 0) && current != QColor(0, 128, 0), qPrintable(current.name()));
}

void TestReservationList::courtButtons_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("court");
    QTest::addColumn<QColor>("remembered");
    QTest::addColumn<bool>("doesNotExist");
    QTest::addColumn<int>("lines");
    const QColor tennis(0x40, 0xA0, 0x50);
    const QColor squash(0x46, 0x82, 0xB4);
    const QColor silver(192, 192, 192);
    QTest::newRow("tennis court") << QString() << 3 << tennis << false << 1;
    QTest::newRow("squash court") << QString() << 6 << squash << false << 1;
    QTest::newRow("court without a Tische row") << QString() << 9 << silver << true << 0;
    QTest::newRow("court 12 without a row") << QString() << 12 << silver << true << 0;
    // A court painted in the type colour silver still exists.
    QTest::newRow("silver court type")
        << QStringLiteral("update Tischfarben set Tischfarbe = 12632256 where TypNr = 2") << 6 << silver
        << false << 1;
    // A court whose type has no colour row exists as well.
    QTest::newRow("court of an unknown type")
        << QStringLiteral("update Tische set TypNr = 9 where Tischnummer = 8") << 8 << QColor(255, 255, 255)
        << false << 1;
}

void TestReservationList::courtButtons()
{
    QFETCH(QString, change);
    QFETCH(int, court);
    QFETCH(QColor, remembered);
    QFETCH(bool, doesNotExist);
    QFETCH(int, lines);
    if (!change.isEmpty())
        TestInstallation::exec(change);
    Tfrm_reservierungsliste w;
    w.showFor(today, -1);
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(buttonColour(&w, QStringLiteral("pnl_all")), QColor(255, 0, 0));
    const QString name = QStringLiteral("pnl_%1").arg(court);
    QCOMPARE(buttonColour(&w, name), remembered);
    auto* button = w.findChild<QPushButton*>(name);
    QCOMPARE(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name),
             QStringLiteral("Court %1").arg(court));

    Answers answers;
    answers.answer = Messages::Answer::Ok;
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(answers.asked, doesNotExist ? QStringList{noCourt} : QStringList{});
    // The list switches to the court either way.
    QCOMPARE(child<QLabel>(&w, "lbl_platz")->text(), QString::number(court));
    QCOMPARE(gridLines(&w).size(), lines);
    QCOMPARE(buttonColour(&w, name), doesNotExist ? remembered : QColor(255, 0, 0));
    QCOMPARE(buttonColour(&w, QStringLiteral("pnl_all")), QColor(192, 220, 192));

    QTest::mouseClick(child<QPushButton>(&w, "pnl_all"), Qt::LeftButton);
    QCOMPARE(answers.asked.size(), doesNotExist ? 1 : 0);
    QCOMPARE(buttonColour(&w, name), remembered);
    QCOMPARE(gridLines(&w).size(), 5);
}

void TestReservationList::cancelling_data()
{
    QTest::addColumn<int>("dayOffset");
    QTest::addColumn<QString>("line"); // the line chosen, as the grid shows it
    QTest::addColumn<bool>("byEscape");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("question");
    QTest::addColumn<int>("rowsGone");
    const QString evans2 = QStringLiteral("Team Evans|2|07:00 pm|4|False");
    const QString duval = QStringLiteral("Duval|3|07:00 am|4|True");
    // Cancelling the court 2 line of the booking on courts 2 and 5 removes both courts' rows.
    QTest::newRow("two-court booking") << 1 << evans2 << false << true << unpaidQuestion << 8;
    QTest::newRow("Escape asks") << 1 << evans2 << true << true << unpaidQuestion << 8;
    QTest::newRow("open line, No") << 1 << evans2 << false << false << unpaidQuestion << 0;
    QTest::newRow("paid line, No") << 0 << duval << false << false << paidQuestion << 0;
    QTest::newRow("paid line, Yes") << 0 << duval << true << true << paidQuestion << 4;
}

void TestReservationList::cancelling()
{
    QFETCH(int, dayOffset);
    QFETCH(QString, line);
    QFETCH(bool, byEscape);
    QFETCH(bool, yes);
    QFETCH(QString, question);
    QFETCH(int, rowsGone);
    const int rowsBefore = count(QStringLiteral("select count(*) from Reservierung"));
    const int number =
        count(QStringLiteral("select Reservierungsnummer from Reservierung where Datum = ? and "
                             "Reservierer = ? and Platz = ?"),
              {todayCount + dayOffset, line.section(QLatin1Char('|'), 0, 0),
               line.section(QLatin1Char('|'), 1, 1).toInt()});

    const int numberRows =
        count(QStringLiteral("select count(*) from Reservierung where Reservierungsnummer = ?"), {number});
    QCOMPARE(numberRows, yes ? rowsGone : numberRows);

    Tfrm_reservierungsliste w;
    w.showFor(today.addDays(dayOffset), -1);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    clickChoice(child<QRadioButton>(&w, "rg_sortierung_1"));
    const QStringList shown = gridLines(&w);
    const int row = int(shown.indexOf(line));
    QVERIFY(row >= 0);
    auto* grid = child<QTableView>(&w, "DBGrid1");
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(row, 0)).center());
    QCOMPARE(grid->currentIndex().row(), row);

    Answers answers;
    answers.answer = yes ? Messages::Answer::Yes : Messages::Answer::No;
    const double before = DayCount::now();
    if (byEscape)
        QTest::keyClick(grid, Qt::Key_Escape);
    else
        QTest::mouseClick(child<QPushButton>(&w, "BitBtn1"), Qt::LeftButton);
    const double after = DayCount::now();
    QCOMPARE(answers.asked, QStringList{question});
    QVERIFY(w.isVisible());
    QCOMPARE(count(QStringLiteral("select count(*) from Reservierung")), rowsBefore - rowsGone);
    QCOMPARE(
        count(QStringLiteral("select count(*) from Reservierung where Reservierungsnummer = ?"), {number}),
        yes ? 0 : numberRows);
    if (!yes) {
        QCOMPARE(count(QStringLiteral("select count(*) from Aktivitaet")), 0);
        QCOMPARE(gridLines(&w), shown);
        return;
    }
    // One activity record, for the line chosen.
    QCOMPARE(count(QStringLiteral("select count(*) from Aktivitaet")), 1);
    QSqlQuery log(
        QStringLiteral("select Aufzeichnung, Datum, Reservierer, Platz, Startzeit, Laufzeit from Aktivitaet"),
        QSqlDatabase::database(QStringLiteral("Tennistables")));
    QVERIFY(log.next());
    QVERIFY(log.value(0).toDouble() >= before - 1e-6 && log.value(0).toDouble() <= after + 1e-6);
    QCOMPARE(log.value(1).toInt(), todayCount + dayOffset);
    QCOMPARE(log.value(2).toString(), line.section(QLatin1Char('|'), 0, 0));
    QCOMPARE(log.value(3).toInt(), line.section(QLatin1Char('|'), 1, 1).toInt());
    QCOMPARE(log.value(4).toString(), line.section(QLatin1Char('|'), 2, 2));
    QCOMPARE(log.value(5).toInt(), line.section(QLatin1Char('|'), 3, 3).toInt());
    // The list is loaded again without the cancelled reservation's lines.
    for (const QString& remaining : gridLines(&w))
        QVERIFY2(!remaining.startsWith(line.section(QLatin1Char('|'), 0, 0) + QLatin1Char('|')),
                 qPrintable(remaining));
    QCOMPARE(gridLines(&w).size(), shown.size() - rowsGone / 4);
}

void TestReservationList::showingAgainLoadsAfresh()
{
    Tfrm_reservierungsliste w;
    w.showFor(today, 2);
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(gridLines(&w).isEmpty());
    QTest::mouseClick(child<QPushButton>(&w, "btn_close"), Qt::LeftButton);
    QVERIFY(!w.isVisible());
    // Booked while the list was closed: the next showing has it, with its length and begin.
    TestInstallation::exec(
        QStringLiteral("insert into Reservierung values (70, ?, 15, 2, 2, 'Owen', -17, 0, false), "
                       "(70, ?, 15, 3, 2, 'Owen', -17, 0, false)"),
        {todayCount, todayCount});
    w.showFor(today, 2);
    QCOMPARE(gridLines(&w), QStringList{QStringLiteral("Owen|2|02:15 pm|2|False")});
    // Asked again while open, for another court: the list and the buttons follow at once.
    w.showFor(today, 4);
    QCOMPARE(gridLines(&w).size(), 1);
    QCOMPARE(buttonColour(&w, QStringLiteral("pnl_4")), QColor(255, 0, 0));
    QCOMPARE(buttonColour(&w, QStringLiteral("pnl_2")), QColor(0x40, 0xA0, 0x50));
}

void TestReservationList::closingRefreshesTheCourtPlan()
{
    // At noon the demo has Becker playing on court 1.
    DayCount::setCurrentMoment(QDateTime(today, QTime(12, 5)));
    Tfrm_courts plan;
    forms().courts = &plan;
    plan.cb_max->setChecked(false);
    plan.show();
    tcourt* one = plan.tile(1);
    QVERIFY(one && one->pnl_players->isVisibleTo(one));

    Tfrm_reservierungsliste w;
    w.showFor(today, 1);
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const int row = int(gridLines(&w).indexOf(QStringLiteral("Becker, Paul|1|12:00 pm|4|False")));
    QVERIFY2(row >= 0, qPrintable(gridLines(&w).join(QLatin1Char('\n'))));
    auto* grid = child<QTableView>(&w, "DBGrid1");
    grid->setCurrentIndex(grid->model()->index(row, 0));
    Answers answers;
    answers.answer = Messages::Answer::Yes;
    QTest::mouseClick(child<QPushButton>(&w, "BitBtn1"), Qt::LeftButton);
    QVERIFY(one->pnl_players->isVisibleTo(one));
    // The plan shows the court free as the list closes, not at its next minute.
    QTest::mouseClick(child<QPushButton>(&w, "btn_close"), Qt::LeftButton);
    QVERIFY(!w.isVisible());
    QVERIFY(!one->pnl_players->isVisibleTo(one));
    forms().courts = nullptr;
    DayCount::setCurrentMoment(QDateTime::currentDateTime());
}

void TestReservationList::namesSortedWithCentredTitles()
{
    TestInstallation::exec(QStringLiteral("insert into Namen values ('Abbott', '030 1')"));
    Tfrm_namensliste w;
    w.showIndependent();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.windowTitle(), QStringLiteral("Namelist"));
    QCOMPARE(gridLines(&w).first(), QStringLiteral("Abbott|030 1"));
    QStringList names;
    for (const QString& l : gridLines(&w))
        names << l.section(QLatin1Char('|'), 0, 0);
    QCOMPARE(names, (QStringList{QStringLiteral("Abbott"), QStringLiteral("Adams"), QStringLiteral("Baker"),
                                 QStringLiteral("Carter"), QStringLiteral("Duval"), QStringLiteral("Evans"),
                                 QStringLiteral("Garcia")}));
    auto* grid = child<QTableView>(&w, "DBGrid1");
    for (int column = 0; column < 2; ++column)
        QCOMPARE(
            grid->model()->headerData(column, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(),
            Qt::Alignment(Qt::AlignCenter));
    QCOMPARE(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Telefonnumber"));
    // The whole navigator is there.
    for (const char* button : {"nbFirst", "nbPrior", "nbNext", "nbLast", "nbInsert", "nbDelete", "nbEdit",
                               "nbPost", "nbCancel", "nbRefresh"})
        QVERIFY2(child<QToolButton>(&w, button)->isVisible(), button);
    QTest::mouseClick(child<QPushButton>(&w, "BitBtn1"), Qt::LeftButton);
    QVERIFY(!w.isVisible());
    QVERIFY(!w.names()->isOpen());
}

void TestReservationList::duplicateNameStaysInEdit_data()
{
    QTest::addColumn<QString>("leaveBy");
    QTest::newRow("post button") << QStringLiteral("post");
    QTest::newRow("another row") << QStringLiteral("row");
    QTest::newRow("closing the window") << QStringLiteral("close");
}

void TestReservationList::duplicateNameStaysInEdit()
{
    QFETCH(QString, leaveBy);
    Tfrm_namensliste w;
    w.showIndependent();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto* grid = child<RecordGrid>(&w, "DBGrid1");
    Answers answers;
    answers.answer = Messages::Answer::Ok;

    const auto typeInto = [&](int column, const QString& text) {
        const QModelIndex cell = grid->model()->index(w.names()->recNo(), column);
        grid->setCurrentIndex(cell);
        grid->edit(cell);
        // A closed editor lingers hidden until it is deleted: type into the open one.
        QLineEdit* editor = nullptr;
        for (QLineEdit* e : grid->viewport()->findChildren<QLineEdit*>())
            if (e->isVisible())
                editor = e;
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, text);
    };
    const auto leave = [&] {
        if (leaveBy == QLatin1String("post"))
            QTest::mouseClick(child<QToolButton>(&w, "nbPost"), Qt::LeftButton);
        else if (leaveBy == QLatin1String("row"))
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                              grid->visualRect(grid->model()->index(0, 0)).center());
        else
            QTest::mouseClick(child<QPushButton>(&w, "BitBtn1"), Qt::LeftButton);
    };

    QTest::mouseClick(child<QToolButton>(&w, "nbInsert"), Qt::LeftButton);
    QCOMPARE(w.names()->state(), RecordSet::State::Insert);
    const int row = w.names()->recNo();
    typeInto(0, QStringLiteral("Baker"));
    typeInto(1, QStringLiteral("0171 999"));
    leave();

    QCOMPARE(answers.asked, QStringList{QStringLiteral(
                                "Key violation: Namen already holds a row with this Name. The Name must be "
                                "unique.")});
    QCOMPARE(w.names()->state(), RecordSet::State::Insert);
    QVERIFY(w.isVisible());
    QCOMPARE(grid->currentIndex().row(), row);
    QCOMPARE(grid->model()->index(row, 0).data().toString(), QStringLiteral("Baker"));
    QCOMPARE(grid->model()->index(row, 1).data().toString(), QStringLiteral("0171 999"));
    QCOMPARE(count(QStringLiteral("select count(*) from Namen")), 6);

    // Corrected, the row goes in with what was typed.
    typeInto(0, QStringLiteral("Bakewell"));
    QTest::mouseClick(child<QToolButton>(&w, "nbPost"), Qt::LeftButton);
    QCOMPARE(answers.asked.size(), 1);
    QCOMPARE(w.names()->state(), RecordSet::State::Browse);
    QCOMPARE(
        TestInstallation::scalar(QStringLiteral("select Telefonnummer from Namen where Name = 'Bakewell'"))
            .toString(),
        QStringLiteral("0171 999"));
    QCOMPARE(count(QStringLiteral("select count(*) from Namen")), 7);
    QCOMPARE(TestInstallation::scalar(QStringLiteral("select Telefonnummer from Namen where Name = 'Baker'"))
                 .toString(),
             QStringLiteral("0171 551211"));
}

QTEST_MAIN(TestReservationList)
#include "tst_reservationlist.moc"
