#include "answers.h"
#include "data/calculations.h"
#include "data/daycount.h"
#include "platform/messages.h"
#include "refusingtrigger.h"
#include "reservationdialog.h"
#include "reservations/lookupbox.h"
#include "reservations/quartergrid.h"
#include "reservations/schedule.h"
#include "reservations/u_reservieren.h"
#include "reservations/u_scheduler.h"
#include "testinstallation.h"
#include "ui/forms.h"

#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>

namespace {

// Rows "number dayOffset court stunde viertel paid [name]" relative to a day.
void book(int day, const QStringList& rows)
{
    for (const QString& row : rows) {
        const QStringList f = row.split(' ');
        TestInstallation::exec(
            "insert into Reservierung (Reservierungsnummer, Datum, Platz, Stunde, Viertelstunde, "
            "Bezahlt, Reservierer, Mitgliedsnummer, Prozente) values (?, ?, ?, ?, ?, ?, ?, -17, 0)",
            {f[0].toInt(), day + f[1].toInt(), f[2].toInt(), f[3].toInt(), f[4].toInt(),
             f[5] == QLatin1String("1"), f.value(6, QStringLiteral("x"))});
    }
}

QRgb shownColour(QuarterGrid* grid, int column, int hour, int court, int quarter)
{
    const QRect area = grid->quarterArea(column, hour, court, quarter);
    return grid->grab(area).toImage().pixel(area.width() / 2, area.height() / 2) & 0xFFFFFF;
}

// A Wednesday far from today, so that the demo's bookings stay out of the way.
const int wednesday = DayCount::fromDate(QDate(2031, 1, 1));

} // namespace

class TestScheduler : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void weekStartsOnAnyDayAndMoves();
    void quartersTakeTheColoursOfTheirStates_data();
    void quartersTakeTheColoursOfTheirStates();
    void cellNamesAndGeometry();
    void bookedQuarterTellsItsBooking();
    void closingPurgesBeforeTheCutOff();
    void dialogRefusesWhatCannotBeBooked();
    void dialogStoresOneNumberOverCourts();
    void blankNameAnsweredYesIsNoname();
    void memberTabNeedsAMemberNumber();
    void addToListTellsWhetherTheNameIsNew();
    void nameFieldHasTheInfoTipBackground();
    void closingTheDialogRecoloursItsColumnOnly();
    void gridsAreTablesToScreenReaders();
    void keyboardBooksWithoutTheMouse();

private:
    void showDialog(int column, int hour);
    void click(int hour, int court, int quarter);

    std::unique_ptr<TestInstallation> installation;
    std::unique_ptr<Tfrm_scheduler> scheduler;
    std::unique_ptr<Tfrm_reservieren> dialog;
};

void TestScheduler::init()
{
    installation = std::make_unique<TestInstallation>(true);
    QVERIFY2(installation->isValid(), qPrintable(installation->failure()));
    scheduler = std::make_unique<Tfrm_scheduler>();
    dialog = std::make_unique<Tfrm_reservieren>();
    forms().scheduler = scheduler.get();
    forms().reservieren = dialog.get();
    scheduler->cb_max->setChecked(false);
    scheduler->show();
    QVERIFY(QTest::qWaitForWindowExposed(scheduler.get()));
}

void TestScheduler::cleanup()
{
    forms().scheduler = nullptr;
    forms().reservieren = nullptr;
    dialog.reset();
    scheduler.reset();
    installation.reset();
}

void TestScheduler::weekStartsOnAnyDayAndMoves()
{
    // Shown, the week starts today, whatever weekday that is.
    QCOMPARE(scheduler->startDate(), DayCount::today());
    QCOMPARE(scheduler->lbl_wochentag[1]->text(), Wochentagskuerzel[dayOfWeek(DayCount::today())]);

    scheduler->dp_datum->setDate(DayCount::toDate(wednesday));
    scheduler->dp_datumCloseUp();
    const QStringList expected{"WE", "TH", "FR", "SA", "SO", "MO", "TU"};
    for (int n = 1; n <= 7; ++n) {
        QCOMPARE(scheduler->lbl_wochentag[std::size_t(n)]->text(), expected[n - 1]);
        QCOMPARE(scheduler->lbl_tag[std::size_t(n)]->text(), Schedule::dayHeading(wednesday + n - 1).date);
    }
    QTest::mouseClick(scheduler->btn_daybefore, Qt::LeftButton);
    QCOMPARE(scheduler->startDate(), wednesday - 1);
    QCOMPARE(scheduler->lbl_wochentag[1]->text(), QStringLiteral("TU"));
    QTest::mouseClick(scheduler->btn_nextweek, Qt::LeftButton);
    QCOMPARE(scheduler->startDate(), wednesday + 6);
    QCOMPARE(scheduler->dp_datum->date(), DayCount::toDate(wednesday + 6));
    QTest::keyClick(scheduler.get(), Qt::Key_F5);
    QCOMPARE(scheduler->startDate(), wednesday - 1);
    QTest::keyClick(scheduler.get(), Qt::Key_F7);
    QCOMPARE(scheduler->startDate(), wednesday);

    QTest::keyClick(scheduler.get(), Qt::Key_F12);
    QCOMPARE(scheduler->sb_scheduler->verticalScrollBar()->value(), 0);
    QTest::keyClick(scheduler.get(), Qt::Key_F11);
    QCOMPARE(scheduler->sb_scheduler->verticalScrollBar()->value(), 376);
}

void TestScheduler::quartersTakeTheColoursOfTheirStates_data()
{
    QTest::addColumn<QStringList>("rows");
    // Probes "column hour court quarter" and the colour each shows.
    QTest::addColumn<QStringList>("probes");
    QTest::addColumn<QList<QRgb>>("colours");
    const QRgb grey = 0x808080, maroon = 0x800000, navy = 0x000080, green = 0x008000;
    QTest::newRow("23:45 lights the last row of the last hour, 00:00 the first of the first")
        << QStringList{"1 2 4 24 4 0", "2 2 5 1 1 0"}
        << QStringList{"3 24 4 4", "3 24 4 3", "3 1 5 1", "3 1 5 2"}
        << QList<QRgb>{maroon, grey, maroon, grey};
    QTest::newRow("neighbours maroon then navy, a paid one green")
        << QStringList{"1 0 7 19 1 0", "2 0 7 19 2 0", "3 0 7 19 3 1"}
        << QStringList{"1 19 7 1", "1 19 7 2", "1 19 7 3"} << QList<QRgb>{maroon, navy, green};
    QTest::newRow("a day outside the week stays grey")
        << QStringList{"1 7 1 10 1 0"} << QStringList{"7 10 1 1"} << QList<QRgb>{grey};
}

void TestScheduler::quartersTakeTheColoursOfTheirStates()
{
    QFETCH(QStringList, rows);
    QFETCH(QStringList, probes);
    QFETCH(QList<QRgb>, colours);
    book(wednesday, rows);
    scheduler->dp_datum->setDate(DayCount::toDate(wednesday));
    scheduler->dp_datumCloseUp();
    for (int i = 0; i < probes.size(); ++i) {
        const QStringList p = probes[i].split(' ');
        QCOMPARE(shownColour(scheduler->grid(), p[0].toInt(), p[1].toInt(), p[2].toInt(), p[3].toInt()),
                 colours[i]);
    }
}

void TestScheduler::cellNamesAndGeometry()
{
    QuarterGrid* grid = scheduler->grid();
    QVERIFY(grid->findCell("FELD11"));
    Ttagstunde* last = grid->findCell("FELD724");
    QVERIFY(last && last->column() == 7 && last->hour() == 24);
    QCOMPARE(Tplatzviertelstunde::name(12, 4), QStringLiteral("STUNDENFELD124"));
    QCOMPARE(grid->geometry().cellRect(3, 2), QRect(59 + 206, 1 + 47, 103, 47));
    // One extra pixel before each group of three courts.
    QCOMPARE(grid->geometry().quarterRect(1, 1), QRect(3, 3, 7, 10));
    QCOMPARE(grid->geometry().quarterRect(4, 2), QRect(2 + 24 + 2, 14, 7, 10));
    QCOMPARE(grid->geometry().quarterRect(12, 4), QRect(2 + 88 + 4, 36, 7, 10));
    const QuarterGeometry dialogCells = QuarterGeometry::reservation();
    QCOMPARE(dialogCells.cellRect(1, 3), QRect(139, 257, 305, 127));
    QCOMPARE(dialogCells.quarterRect(4, 3), QRect(3 + 72 + 6, 66, 21, 27));
}

void TestScheduler::bookedQuarterTellsItsBooking()
{
    book(wednesday,
         {"5 0 2 19 3 0 Miller", "5 0 2 19 4 0 Miller", "5 0 2 20 1 0 Miller", "6 0 2 20 2 1 Roe"});
    scheduler->dp_datum->setDate(DayCount::toDate(wednesday));
    scheduler->dp_datumCloseUp();
    QCOMPARE(scheduler->grid()->bookingText(1, 19, 2, 4),
             QStringLiteral("Miller, 06:30 pm - 07:15 pm, not paid"));
    QCOMPARE(scheduler->grid()->bookingText(1, 20, 2, 2), QStringLiteral("Roe, 07:15 pm - 07:30 pm, paid"));
}

void TestScheduler::closingPurgesBeforeTheCutOff()
{
    const int today = DayCount::today();
    TestInstallation::exec("delete from Reservierung");
    book(today, {"1 -93 1 10 1 1", "2 -92 1 10 1 0", "3 -91 1 10 1 0"});
    scheduler->cb_datenloeschen->setCurrentIndex(2); // three months: 92 days
    scheduler->BitBtn1->click();
    QVERIFY(!scheduler->isVisible());
    QCOMPARE(TestInstallation::column("select Reservierungsnummer from Reservierung order by 1"),
             QStringList({"2", "3"}));
    // The choice is kept for the next run.
    scheduler->cb_datenloeschen->setCurrentIndex(0);
    scheduler->cb_datenloeschen->setCurrentIndex(4);
    Tfrm_scheduler another;
    another.cb_max->setChecked(false);
    another.show();
    QCOMPARE(another.cb_datenloeschen->currentIndex(), 4);
}

void TestScheduler::showDialog(int column, int hour)
{
    QVERIFY(ReservationDialog::show(dialog.get(), column, hour));
}

void TestScheduler::click(int hour, int court, int quarter)
{
    ReservationDialog::click(dialog.get(), hour, court, quarter);
}

void TestScheduler::dialogRefusesWhatCannotBeBooked()
{
    TestInstallation::exec("delete from Tische where Tischnummer = 8");
    book(wednesday, {"1 0 1 10 1 0", "2 0 1 10 2 1"});
    scheduler->dp_datum->setDate(DayCount::toDate(wednesday));
    scheduler->dp_datumCloseUp();
    showDialog(1, 10);
    QCOMPARE(dialog->datum(), wednesday);
    QCOMPARE(dialog->lbl_tag1->text(), scheduler->lbl_tag[1]->text());
    QCOMPARE(dialog->sb_reservieren->verticalScrollBar()->value(), 128 * 9 + 1);
    Answers answers;
    click(10, 1, 1);
    click(10, 1, 2);
    click(10, 8, 1);
    QCOMPARE(answers.asked, (QStringList{"Quater already reserved !", "Quater already reserved !",
                                         "Court does not exist !"}));
    QCOMPARE(shownColour(dialog->grid(), 1, 10, 8, 1), QRgb(0x000000));
    // Clicking a free quarter twice leaves it free; the right button does nothing.
    click(10, 2, 1);
    QCOMPARE(shownColour(dialog->grid(), 1, 10, 2, 1), QRgb(0xFF0000));
    click(10, 2, 1);
    QCOMPARE(shownColour(dialog->grid(), 1, 10, 2, 1), QRgb(0x808080));
    QTest::mouseClick(dialog->grid(), Qt::RightButton, {}, dialog->grid()->quarterArea(1, 10, 2, 2).center());
    QCOMPARE(dialog->grid()->cell(1, 10).quarter(2, 2).belegung, Belegung::frei);
    // The scheduler shows the missing court grey.
    QCOMPARE(shownColour(scheduler->grid(), 1, 10, 8, 1), QRgb(0x808080));
}

void TestScheduler::dialogStoresOneNumberOverCourts()
{
    const int before = TestInstallation::scalar("select max(Reservierungsnummer) from Reservierung").toInt();
    scheduler->dp_datum->setDate(DayCount::toDate(wednesday));
    scheduler->dp_datumCloseUp();
    showDialog(2, 11);
    for (int court : {1, 3})
        for (int quarter : {1, 2})
            click(11, court, quarter);
    dialog->ed_name->setEditText(QStringLiteral("Smith"));
    dialog->ed_prozente->setValue(12.5);
    QTest::mouseClick(dialog->BitBtn2, Qt::LeftButton);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->pb_speichern->value(), 12);
    QCOMPARE(TestInstallation::scalar(
                 "select count(*) from Reservierung where Reservierungsnummer = ? and Datum = ? "
                 "and Reservierer = 'Smith' and Prozente = 12 and Mitgliedsnummer = -17 and "
                 "Stunde = 11 and Viertelstunde in (1, 2) and Platz in (1, 3) and not Bezahlt",
                 {before + 1, wednesday + 1})
                 .toInt(),
             4);
    // The scheduler's column of that day shows the booking at once.
    QCOMPARE(shownColour(scheduler->grid(), 2, 11, 3, 2), QRgb(0x800000));
}

void TestScheduler::blankNameAnsweredYesIsNoname()
{
    showDialog(1, 20);
    click(20, 5, 4);
    Answers answers;
    answers.answer = Messages::Answer::No;
    dialog->ed_name->setEditText(QStringLiteral("   "));
    dialog->BitBtn2->click();
    QCOMPARE(answers.asked, QStringList{"Reservate with no name ?"});
    QVERIFY(dialog->isVisible());
    answers.answer = Messages::Answer::Yes;
    dialog->ed_prozente->setValue(13.5);
    dialog->BitBtn2->click();
    QVERIFY(!dialog->isVisible());
    QCOMPARE(TestInstallation::scalar(
                 "select Reservierer || ' ' || Mitgliedsnummer || ' ' || Prozente from "
                 "Reservierung where Datum = ? and Platz = 5 and Stunde = 20 and Viertelstunde = 4",
                 {DayCount::today()})
                 .toString(),
             QStringLiteral("noname -17 14"));

    // Nothing marked: the dialog says so and stays open.
    showDialog(1, 20);
    dialog->ed_name->setEditText(QStringLiteral("Smith"));
    answers.asked.clear();
    dialog->BitBtn2->click();
    QCOMPARE(answers.asked, QStringList{"Empty reservation.No quaters are selected !"});
    QVERIFY(dialog->isVisible());
    dialog->close();
}

void TestScheduler::memberTabNeedsAMemberNumber()
{
    showDialog(1, 9);
    click(9, 6, 1);
    dialog->pc_player->setCurrentWidget(dialog->ts_member);
    Answers answers;
    dialog->BitBtn2->click();
    QCOMPARE(answers.asked, QStringList{"no member selected !"});
    dialog->ed_mitglied->showPopup();
    QVERIFY(dialog->ed_mitglied->count() >= 12);
    const int row = 2;
    const QVariantList member = dialog->ed_mitglied->itemData(row).toList();
    dialog->ed_mitglied->setCurrentIndex(row);
    emit dialog->ed_mitglied->activated(row);
    dialog->ed_mitglied->hidePopup();
    QCOMPARE(dialog->ed_mitgliedsnummer->text(), member.value(0).toString());
    const QString display = dialog->ed_mitglied->currentText();
    QVERIFY(display.contains(QStringLiteral("   ")));
    dialog->BitBtn2->click();
    QVERIFY(!dialog->isVisible());
    QCOMPARE(TestInstallation::scalar(
                 "select Reservierer || '|' || Mitgliedsnummer from Reservierung where Datum = ? "
                 "and Platz = 6 and Stunde = 9 and Viertelstunde = 1",
                 {DayCount::today()})
                 .toString(),
             display + '|' + member.value(0).toString());
}

void TestScheduler::addToListTellsWhetherTheNameIsNew()
{
    showDialog(1, 9);
    Answers answers;
    dialog->ed_name->setEditText(QStringLiteral("Newcomer"));
    dialog->ed_telefon->setText(QStringLiteral("0171 5"));
    dialog->btn_hinzufuegen->click();
    dialog->btn_hinzufuegen->click();
    QCOMPARE(answers.asked, (QStringList{"Name added", "Name already exists !"}));
    QCOMPARE(TestInstallation::scalar("select Telefonnummer from Namen where Name = 'Newcomer'").toString(),
             QStringLiteral("0171 5"));
    // Picking a name from the list brings its telephone number.
    dialog->ed_telefon->clear();
    dialog->ed_name->showPopup();
    const int index = dialog->ed_name->findText(QStringLiteral("Newcomer"));
    QVERIFY(index >= 0);
    emit dialog->ed_name->activated(index);
    dialog->ed_name->hidePopup();
    QCOMPARE(dialog->ed_telefon->text(), QStringLiteral("0171 5"));

    // A failure that is not a name taken says what went wrong, a full disk as well.
    addRefusingTrigger("disk_full", "Namen", "insert", {}, "database or disk is full");
    answers.asked.clear();
    dialog->ed_name->setEditText(QStringLiteral("Latecomer"));
    dialog->btn_hinzufuegen->click();
    QCOMPARE(answers.asked.size(), 1);
    QVERIFY2(answers.asked.first().contains(QStringLiteral("database or disk is full")),
             qPrintable(answers.asked.first()));
    dialog->close();
}

void TestScheduler::nameFieldHasTheInfoTipBackground()
{
    showDialog(1, 9);
    const QImage shown = dialog->ed_name->grab().toImage();
    const QColor infoTip = dialog->ed_name->palette().color(QPalette::ToolTipBase);
    QVERIFY(infoTip != dialog->ed_telefon->palette().color(QPalette::Base));
    QCOMPARE(shown.pixelColor(shown.width() / 3, shown.height() / 2), infoTip);
    dialog->close();
}

void TestScheduler::closingTheDialogRecoloursItsColumnOnly()
{
    scheduler->dp_datum->setDate(DayCount::toDate(wednesday));
    scheduler->dp_datumCloseUp();
    // Booked behind the scheduler's back on the days of columns 2 and 3.
    book(wednesday, {"1 1 4 12 1 0", "2 2 4 12 1 0"});
    showDialog(2, 12);
    dialog->close();
    QCOMPARE(shownColour(scheduler->grid(), 2, 12, 4, 1), QRgb(0x800000));
    QCOMPARE(shownColour(scheduler->grid(), 3, 12, 4, 1), QRgb(0x808080));
}

void TestScheduler::gridsAreTablesToScreenReaders()
{
    book(wednesday, {"5 0 7 19 2 0 Miller", "6 2 1 1 1 1 Roe"});
    scheduler->dp_datum->setDate(DayCount::toDate(wednesday));
    scheduler->dp_datumCloseUp();
    QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(scheduler->grid());
    QVERIFY(grid);
    QCOMPARE(grid->role(), QAccessible::Table);
    QAccessibleTableInterface* table = grid->tableInterface();
    QVERIFY(table);
    QCOMPARE(table->rowCount(), 96);
    QCOMPARE(table->columnCount(), 7 * 12);
    QAccessibleInterface* booked = table->cellAt(18 * 4 + 1, 6);
    QCOMPARE(booked->text(QAccessible::Name), QStringLiteral("reserved"));
    QCOMPARE(booked->text(QAccessible::Description), QStringLiteral("Miller, 06:15 pm - 06:30 pm, not paid"));
    QCOMPARE(table->cellAt(18 * 4 + 2, 6)->text(QAccessible::Name), QStringLiteral("free"));
    QCOMPARE(table->cellAt(0, 2 * 12)->text(QAccessible::Name), QStringLiteral("paid"));
    QCOMPARE(table->columnDescription(6),
             QStringLiteral("WE %1, court 7").arg(Schedule::dayHeading(wednesday).date));
    QCOMPARE(table->rowDescription(18 * 4 + 1), QStringLiteral("06:15 pm"));
    QCOMPARE(table->rowDescription(0), QStringLiteral("12:00 am"));
    QCOMPARE(grid->indexOfChild(booked), (18 * 4 + 1) * 84 + 6);
}

void TestScheduler::keyboardBooksWithoutTheMouse()
{
    showDialog(1, 10);
    QuarterGrid* grid = dialog->grid();
    grid->setFocus();
    QCOMPARE(grid->current().hour, 10);
    QTest::keyClick(grid, Qt::Key_Right);
    QTest::keyClick(grid, Qt::Key_Right);
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Space);
    QCOMPARE(grid->cell(1, 10).quarter(3, 2).belegung, Belegung::gewaehlt);
    QAccessibleInterface* focused = QAccessible::queryAccessibleInterface(grid)->focusChild();
    QVERIFY(focused);
    QCOMPARE(focused->text(QAccessible::Name), QStringLiteral("selected"));
    QVERIFY(focused->state().focused);
    // Down from the last quarter goes on into the next hour.
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(grid->current().hour, 11);
    QCOMPARE(grid->current().quarter, 1);
    QTest::keyClick(grid, Qt::Key_Space);
    dialog->ed_name->setEditText(QStringLiteral("Keys"));
    dialog->BitBtn2->click();
    QCOMPARE(TestInstallation::column("select Stunde || '/' || Viertelstunde from Reservierung where "
                                      "Reservierer = 'Keys' and Platz = 3 order by Stunde, Viertelstunde"),
             QStringList({"10/2", "11/1"}));
}

QTEST_MAIN(TestScheduler)
#include "tst_scheduler.moc"
