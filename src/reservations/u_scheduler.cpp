#include "reservations/u_scheduler.h"

#include "courts/u_courts.h"
#include "data/daycount.h"
#include "data/displayformat.h"
#include "platform/usersettings.h"
#include "reservations/occupancy.h"
#include "reservations/quartergrid.h"
#include "reservations/reservationstore.h"
#include "reservations/schedule.h"
#include "reservations/u_reservieren.h"
#include "reservations/u_reservierungsliste.h"
#include "ui/forms.h"
#include "ui/storeaction.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString settingsGroup = QStringLiteral("frm_scheduler");
const QString retentionKey = QStringLiteral("cb_datenloeschen.Tag");
const QString maximizedKey = QStringLiteral("cb_max.Checked");

// Scroll positions: the top, the 08:00 row at the top, the bottom.
constexpr int scrollTop = 0;
constexpr int scrollMiddle = 376;
constexpr int scrollBottom = 1128;

} // namespace

Tfrm_scheduler::Tfrm_scheduler(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_scheduler"), QStringLiteral("Courtoriascheduler"), parent)
{
    auto* layout = new QVBoxLayout(body());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* top = new QWidget(body());
    setupTopBar(top);
    layout->addWidget(top);

    grid_ = new QuarterGrid(QuarterGeometry::scheduler());
    grid_->setObjectName(QStringLiteral("pnl_standard"));
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    grid_->setAccessibleName(QStringLiteral("Week of court quarter-hours"));
    sb_scheduler = new QScrollArea(body());
    sb_scheduler->setObjectName(QStringLiteral("sb_scheduler"));
    sb_scheduler->setWidget(grid_);
    sb_scheduler->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sb_scheduler->setFrameShape(QFrame::NoFrame);
    sb_scheduler->setMinimumWidth(grid_->width() + sb_scheduler->verticalScrollBar()->sizeHint().width());
    layout->addWidget(sb_scheduler, 1);

    pm_scheduler = new QMenu(this);
    pm_scheduler->setObjectName(QStringLiteral("pm_scheduler"));
    mnu_list = pm_scheduler->addAction(QStringLiteral("&list && storno reservations"));
    mnu_list->setObjectName(QStringLiteral("mnu_list"));
    connect(mnu_list, &QAction::triggered, this, &Tfrm_scheduler::mnu_listClick);
    connect(grid_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        int column = 0, hour = 0;
        if (grid_->cellAt(at, &column, &hour)) {
            pm_scheduler->popup(grid_->mapToGlobal(at));
            return;
        }
        // From the keyboard (the menu key), the menu opens at the keyboard's hour cell.
        const QuarterGrid::Position& current = grid_->current();
        ed_datum->setText(QString::number(current.column));
        pm_scheduler->popup(
            grid_->mapToGlobal(grid_->geometry().cellRect(current.column, current.hour).center()));
    });
    connect(grid_, &QuarterGrid::cellClicked, this, &Tfrm_scheduler::pnl_standardClick);
    connect(grid_, &QuarterGrid::cellHovered, this,
            [this](int column, int) { ed_datum->setText(QString::number(column)); });
    grid_->columnTitle = [this](int column) {
        return lbl_wochentag[std::size_t(column)]->text() + QLatin1Char(' ') +
               lbl_tag[std::size_t(column)]->text();
    };
    grid_->bookingText = [this](int column, int hour, int court, int quarter) {
        QString text;
        runAction([&] {
            if (const auto booking = Schedule::bookingAt(columnDate(column), Slot{hour, quarter, court}))
                text = Schedule::bookingText(*booking);
        });
        return text;
    };

    auto* bottom = new QWidget(body());
    setupBottomBar(bottom);
    layout->addWidget(bottom);
    setupKeys();
    setEscapeButton(BitBtn1);

    scrollTo(scrollMiddle);
    resize(grid_->width() + 40, 700);
}

void Tfrm_scheduler::setupTopBar(QWidget* top)
{
    const QuarterGeometry g = grid_ ? grid_->geometry() : QuarterGeometry::scheduler();
    top->setFixedHeight(33);
    auto* column = new QVBoxLayout(top);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* heads = new QWidget(top);
    heads->setFixedHeight(20);
    column->addWidget(heads);
    column->addWidget(new CourtStrip(g, true, top));

    lbl_uhr = new QLabel(heads);
    lbl_uhr->setObjectName(QStringLiteral("lbl_uhr"));
    lbl_uhr->setGeometry(0, 0, g.labelWidth, 20);
    QFont bold = lbl_uhr->font();
    bold.setBold(true);
    for (int n = 1; n <= Schedule::weekDays; ++n) {
        const QRect cell = g.cellRect(n, 1);
        auto* weekday = new QLabel(heads);
        weekday->setObjectName(QStringLiteral("lbl_wochentag%1").arg(n));
        weekday->setGeometry(cell.left() + 2, 0, 24, 20);
        weekday->setStyleSheet(QStringLiteral("color: navy;"));
        weekday->setFont(bold);
        auto* date = new QLabel(heads);
        date->setObjectName(QStringLiteral("lbl_tag%1").arg(n));
        date->setGeometry(cell.left() + 26, 0, cell.width() - 28, 20);
        QFont small = date->font();
        small.setPixelSize(11);
        date->setFont(small);
        date->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lbl_wochentag[std::size_t(n)] = weekday;
        lbl_tag[std::size_t(n)] = date;
    }
    auto* clock = new QTimer(this);
    connect(clock, &QTimer::timeout, this, &Tfrm_scheduler::tickClock);
    clock->start(1000);
    tickClock();
}

void Tfrm_scheduler::setupBottomBar(QWidget* bottom)
{
    auto* row = new QHBoxLayout(bottom);
    row->setContentsMargins(4, 2, 4, 2);
    auto* gotoDate = new QLabel(QStringLiteral("goto date"), bottom);
    dp_datum = new QDateEdit(DayCount::currentMoment().date(), bottom);
    dp_datum->setObjectName(QStringLiteral("dp_datum"));
    dp_datum->setCalendarPopup(true);
    dp_datum->setDisplayFormat(DisplayFormat::dateFormat());
    gotoDate->setBuddy(dp_datum);
    connect(dp_datum->calendarWidget(), &QCalendarWidget::clicked, this, &Tfrm_scheduler::dp_datumCloseUp);
    connect(dp_datum, &QDateEdit::editingFinished, this, [this] {
        if (DayCount::fromDate(dp_datum->date()) != start_)
            dp_datumCloseUp();
    });
    row->addWidget(gotoDate);
    row->addWidget(dp_datum);

    // Each button with its key under it, as the legend shows.
    const auto keyed = [bottom, row](QPushButton*& button, const char* name, const char* caption,
                                     const char* hint, const char* key) {
        auto* stack = new QVBoxLayout;
        stack->setSpacing(0);
        button = new QPushButton(QString::fromUtf8(caption), bottom);
        button->setObjectName(QLatin1String(name));
        button->setToolTip(QString::fromUtf8(hint));
        button->setAccessibleName(QString::fromUtf8(hint));
        button->setFixedWidth(34);
        button->setAutoDefault(false);
        auto* legend = new QLabel(QString::fromUtf8(key), bottom);
        legend->setAlignment(Qt::AlignCenter);
        stack->addWidget(button);
        stack->addWidget(legend);
        row->addLayout(stack);
    };
    keyed(btn_weekbefore, "btn_weekbefore", "<<", "one week back", "F5");
    keyed(btn_daybefore, "btn_daybefore", "<", "one day back", "F6");
    keyed(btn_nextday, "btn_nextday", ">", "one day forward", "F7");
    keyed(btn_nextweek, "btn_nextweek", ">>", "one week forward", "F8");
    row->addSpacing(12);
    keyed(btn_up, "btn_up", "/\\", "top", "F12");
    keyed(btn_middle, "btn_middle", "o", "middle", "F11");
    keyed(btn_down, "btn_down", "\\/", "bottom", "F9");
    connect(btn_weekbefore, &QPushButton::clicked, this, &Tfrm_scheduler::btn_weekbeforeClick);
    connect(btn_daybefore, &QPushButton::clicked, this, &Tfrm_scheduler::btn_daybeforeClick);
    connect(btn_nextday, &QPushButton::clicked, this, &Tfrm_scheduler::btn_nextdayClick);
    connect(btn_nextweek, &QPushButton::clicked, this, &Tfrm_scheduler::btn_nextweekClick);
    connect(btn_up, &QPushButton::clicked, this, [this] { scrollTo(scrollTop); });
    connect(btn_middle, &QPushButton::clicked, this, [this] { scrollTo(scrollMiddle); });
    connect(btn_down, &QPushButton::clicked, this, [this] { scrollTo(scrollBottom); });
    row->addSpacing(12);

    cb_datenloeschen = new QComboBox(bottom);
    cb_datenloeschen->setObjectName(QStringLiteral("cb_datenloeschen"));
    cb_datenloeschen->addItems(Schedule::retentionChoices());
    cb_datenloeschen->setAccessibleName(QStringLiteral("Reservations kept"));
    connect(cb_datenloeschen, &QComboBox::currentIndexChanged, this, [](int index) {
        if (index >= 0)
            UserSettings::setValue(settingsGroup, retentionKey, index);
    });
    cb_max = new QCheckBox(QStringLiteral(" show window maximized"), bottom);
    cb_max->setObjectName(QStringLiteral("cb_max"));
    cb_max->setChecked(true);
    connect(cb_max, &QCheckBox::toggled, this,
            [](bool on) { UserSettings::setValue(settingsGroup, maximizedKey, on); });
    auto* choices = new QVBoxLayout;
    choices->addWidget(cb_datenloeschen);
    choices->addWidget(cb_max);
    row->addLayout(choices);
    row->addStretch();

    btn_courts = new QPushButton(QStringLiteral("Show Courts [F2]"), bottom);
    btn_courts->setObjectName(QStringLiteral("btn_courts"));
    btn_courts->setAutoDefault(false);
    connect(btn_courts, &QPushButton::clicked, this, &Tfrm_scheduler::btn_courtsClick);
    BitBtn1 = new QPushButton(QStringLiteral("&Close"), bottom);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setAutoDefault(false);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::close);
    row->addWidget(btn_courts);
    row->addWidget(BitBtn1);

    ed_datum = new QLineEdit(bottom);
    ed_datum->setObjectName(QStringLiteral("ed_datum"));
    ed_datum->hide();
}

void Tfrm_scheduler::setupKeys()
{
    const std::pair<Qt::Key, std::function<void()>> keys[] = {
        {Qt::Key_F2, [this] { btn_courtsClick(); }},
        {Qt::Key_F5, [this] { moveBy(-7); }},
        {Qt::Key_F6, [this] { moveBy(-1); }},
        {Qt::Key_F7, [this] { moveBy(1); }},
        {Qt::Key_F8, [this] { moveBy(7); }},
        {Qt::Key_F9, [this] { scrollTo(scrollBottom); }},
        {Qt::Key_F11, [this] { scrollTo(scrollMiddle); }},
        {Qt::Key_F12, [this] { scrollTo(scrollTop); }},
    };
    for (const auto& [key, action] : keys) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        connect(shortcut, &QShortcut::activated, this, action);
    }
}

void Tfrm_scheduler::tickClock()
{
    if (isVisible() || lbl_uhr->text().isEmpty())
        lbl_uhr->setText(DisplayFormat::amPmTime(DayCount::now()));
}

void Tfrm_scheduler::scrollTo(int position)
{
    sb_scheduler->verticalScrollBar()->setValue(position);
}

void Tfrm_scheduler::setDayTexts(int start)
{
    for (int n = 1; n <= Schedule::weekDays; ++n) {
        const Schedule::DayHeading heading = Schedule::dayHeading(start + n - 1);
        lbl_wochentag[std::size_t(n)]->setText(heading.weekday);
        lbl_tag[std::size_t(n)]->setText(heading.date);
    }
}

void Tfrm_scheduler::showOccupancy(int start)
{
    grid_->resetColumn(0, Belegung::frei);
    runAction([&] {
        const OccupancyGrid week = fBelegung(start, start + Schedule::weekDays - 1);
        for (int n = 1; n <= Schedule::weekDays; ++n)
            grid_->colourColumn(n, start + n - 1, week);
    });
}

void Tfrm_scheduler::showWeek(int start)
{
    start_ = start;
    setDayTexts(start);
    showOccupancy(start);
}

void Tfrm_scheduler::dp_datumCloseUp()
{
    showWeek(DayCount::fromDate(dp_datum->date()));
}

void Tfrm_scheduler::moveBy(int days)
{
    const int start = start_ + days;
    const QSignalBlocker quiet(dp_datum);
    dp_datum->setDate(DayCount::toDate(start));
    showWeek(start);
}

void Tfrm_scheduler::refreshColumn(int column)
{
    grid_->resetColumn(column, Belegung::frei);
    const int day = columnDate(column);
    runAction([&] { grid_->colourColumn(column, day, fBelegung(day, day)); });
}

void Tfrm_scheduler::showChangedDay(int datum)
{
    if (datum == 0)
        showOccupancy(start_);
    else if (datum >= start_ && datum < start_ + Schedule::weekDays)
        refreshColumn(datum - start_ + 1);
}

void Tfrm_scheduler::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        cb_datenloeschen->setCurrentIndex(std::clamp(
            UserSettings::value(settingsGroup, retentionKey, 0).toInt(), 0, cb_datenloeschen->count() - 1));
        cb_max->setChecked(UserSettings::value(settingsGroup, maximizedKey, true).toBool());
        const int today = DayCount::today();
        {
            const QSignalBlocker quiet(dp_datum);
            dp_datum->setDate(DayCount::toDate(today));
        }
        showWeek(today);
        tickClock();
    }
    DeskWindow::showEvent(event);
    if (!event->spontaneous() && cb_max->isChecked())
        setWindowState(windowState() | Qt::WindowMaximized);
}

void Tfrm_scheduler::closeEvent(QCloseEvent* event)
{
    refreshCourtPlan();
    const int days = Schedule::retentionDays(cb_datenloeschen->currentIndex());
    runAction([days] { purgeReservations(DayCount::today(), days); });
    DeskWindow::closeEvent(event);
}

void Tfrm_scheduler::btn_courtsClick()
{
    if (Tfrm_courts* courts = forms().courts)
        courts->showIndependent();
}

void Tfrm_scheduler::mnu_listClick()
{
    const int column = ed_datum->text().toInt();
    if (column < 1 || column > Schedule::weekDays)
        return;
    if (Tfrm_reservierungsliste* list = forms().reservierungsliste)
        list->showFor(DayCount::toDate(columnDate(column)), -1);
}

void Tfrm_scheduler::pnl_standardClick(int column, int hour)
{
    if (Tfrm_reservieren* dialog = forms().reservieren)
        dialog->openFor(column, hour);
}
