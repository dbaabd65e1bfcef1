#include "reservations/u_reservierungsliste.h"

#include "courts/u_courts.h"
#include "data/calculations.h"
#include "data/daycount.h"
#include "data/displayformat.h"
#include "platform/messages.h"
#include "platform/usersettings.h"
#include "reservations/u_scheduler.h"
#include "ui/forms.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString sortSetting = QStringLiteral("rg_sortierung");

// Readable text on any court colour: dark on light buttons, light on dark ones.
QColor textOn(const QColor& background)
{
    return background.lightnessF() > 0.45 ? QColor(Qt::black) : QColor(Qt::white);
}

} // namespace

Tfrm_reservierungsliste::Tfrm_reservierungsliste(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_reservierungsliste"), QStringLiteral("Reservationlist"), parent)
{
    resize(560, 520);
    auto* layout = new QVBoxLayout(body());
    layout->setContentsMargins(0, 0, 0, 0);
    setupSortChoice(body());
    layout->addWidget(rg_sortierung);
    setupGrid(body());
    layout->addWidget(DBGrid1, 1);
    layout->addWidget(setupDayAndCourts(body()));
    setupButtons();
}

void Tfrm_reservierungsliste::setupSortChoice(QWidget* parent)
{
    rg_sortierung = new QGroupBox(parent);
    rg_sortierung->setObjectName(QStringLiteral("rg_sortierung"));
    rg_sortierung->setAccessibleName(QStringLiteral("Sort order"));
    auto* columns = new QHBoxLayout(rg_sortierung);
    sortButtons_ = new QButtonGroup(this);
    const QString captions[] = {QStringLiteral("order by reservator"), QStringLiteral("order by court")};
    for (int i = 0; i < 2; ++i) {
        auto* choice = new QRadioButton(captions[i], rg_sortierung);
        choice->setObjectName(QStringLiteral("rg_sortierung_%1").arg(i));
        sortButtons_->addButton(choice, i);
        columns->addWidget(choice, 1);
    }
    const int kept = UserSettings::value(objectName(), sortSetting, 0).toInt();
    sortButtons_->button(kept == 1 ? 1 : 0)->setChecked(true);
    connect(sortButtons_, &QButtonGroup::idClicked, this, [this](int id) {
        UserSettings::setValue(objectName(), sortSetting, id);
        rg_sortierungClick();
    });
}

void Tfrm_reservierungsliste::setupGrid(QWidget* parent)
{
    model_ = new ReservationListModel(this);
    DBGrid1 = new QTableView(parent);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setAccessibleName(QStringLiteral("Reservations"));
    DBGrid1->setModel(model_);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->verticalHeader()->setDefaultSectionSize(DBGrid1->fontMetrics().height() + 6);
    DBGrid1->verticalHeader()->setFixedWidth(14);
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    const GridColumns& columns = ReservationListModel::gridColumns();
    for (int i = 0; i < columns.size(); ++i)
        DBGrid1->setColumnWidth(i, columns[i].width);
}

QWidget* Tfrm_reservierungsliste::setupDayAndCourts(QWidget* parent)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName(QStringLiteral("pnl_unten"));
    auto* rows = new QVBoxLayout(panel);
    rows->setContentsMargins(0, 4, 0, 0);

    lbl_hinweis = new QLabel(QStringLiteral("click a court to show reservations of this court"), panel);
    lbl_hinweis->setObjectName(QStringLiteral("lbl_hinweis"));
    rows->addWidget(lbl_hinweis);

    auto* day = new QHBoxLayout;
    lbl_wochentag1 = new QLabel(panel);
    lbl_wochentag1->setObjectName(QStringLiteral("lbl_wochentag1"));
    lbl_wochentag1->setMinimumWidth(28);
    ed_datum = new QDateEdit(DayCount::currentMoment().date(), panel);
    ed_datum->setObjectName(QStringLiteral("ed_datum"));
    ed_datum->setAccessibleName(QStringLiteral("Date"));
    ed_datum->setCalendarPopup(true);
    ed_datum->setDisplayFormat(DisplayFormat::dateFormat());
    btn_daybefore = new QPushButton(QStringLiteral("<"), panel);
    btn_daybefore->setObjectName(QStringLiteral("btn_daybefore"));
    btn_daybefore->setToolTip(QStringLiteral("prior day"));
    btn_nextday = new QPushButton(QStringLiteral(">"), panel);
    btn_nextday->setObjectName(QStringLiteral("btn_nextday"));
    btn_nextday->setToolTip(QStringLiteral("next day"));
    for (QPushButton* b : {btn_daybefore, btn_nextday}) {
        b->setAutoDefault(false);
        b->setFixedWidth(28);
    }
    lbl_platz = new QLabel(QString::number(allCourts), panel);
    lbl_platz->setObjectName(QStringLiteral("lbl_platz"));
    lbl_platz->hide();
    day->addWidget(lbl_wochentag1);
    day->addWidget(ed_datum);
    day->addWidget(btn_daybefore);
    day->addWidget(btn_nextday);
    day->addStretch();
    rows->addLayout(day);
    connect(ed_datum, &QDateEdit::dateChanged, this, &Tfrm_reservierungsliste::ed_datumChange);
    connect(btn_daybefore, &QPushButton::clicked, this, &Tfrm_reservierungsliste::btn_daybeforeClick);
    connect(btn_nextday, &QPushButton::clicked, this, &Tfrm_reservierungsliste::btn_nextdayClick);

    auto* courts = new QHBoxLayout;
    courts->setSpacing(2);
    pnl_all = new QPushButton(QStringLiteral("all courts"), panel);
    pnl_all->setObjectName(QStringLiteral("pnl_all"));
    connect(pnl_all, &QPushButton::clicked, this, &Tfrm_reservierungsliste::pnl_allClick);
    courts->addWidget(pnl_all);
    for (int court = 1; court <= courtCount; ++court) {
        auto* b = new QPushButton(QString::number(court), panel);
        b->setObjectName(QStringLiteral("pnl_%1").arg(court));
        // The caption is a bare number and the state a colour: say what the button is.
        b->setAccessibleName(QStringLiteral("Court %1").arg(court));
        b->setFixedWidth(30);
        connect(b, &QPushButton::clicked, this, [this, court] { pnl_courtClick(court); });
        courts->addWidget(b);
        pnl_court[std::size_t(court)] = b;
    }
    courts->addStretch();
    for (int court = 0; court <= courtCount; ++court) {
        QPushButton* b = courtButton(court);
        b->setAutoDefault(false);
        // Checked marks the court the list shows, for those who do not see the red.
        b->setCheckable(true);
        paintCourtButton(court, court == 0 ? allCourtsColour : noCourtColour);
    }
    rows->addLayout(courts);
    return panel;
}

void Tfrm_reservierungsliste::setupButtons()
{
    BitBtn1 = addBottomButton(QStringLiteral("BitBtn1"), QStringLiteral("Delete Reservation"), true);
    connect(BitBtn1, &QPushButton::clicked, this, &Tfrm_reservierungsliste::BitBtn1Click);
    btn_close = addBottomButton(QStringLiteral("btn_close"), QStringLiteral("&Close"));
    connect(btn_close, &QPushButton::clicked, this, &QDialog::close);
}

void Tfrm_reservierungsliste::showFor(const QDate& day, int court)
{
    lbl_platz->setText(QString::number(court >= 1 && court <= courtCount ? court : allCourts));
    {
        // One load for both values, not one for the date with the court not yet set.
        const QSignalBlocker quiet(ed_datum);
        ed_datum->setDate(day);
    }
    if (isVisible())
        formShow();
    showIndependent();
}

int Tfrm_reservierungsliste::sortIndex() const
{
    return sortButtons_->checkedId() == 1 ? 1 : 0;
}

int Tfrm_reservierungsliste::court() const
{
    bool ok = false;
    const int n = lbl_platz->text().toInt(&ok);
    return ok && n >= 1 && n <= courtCount ? n : allCourts;
}

QPushButton* Tfrm_reservierungsliste::courtButton(int court) const
{
    return court == 0 || court == allCourts ? pnl_all : pnl_court[std::size_t(court)];
}

void Tfrm_reservierungsliste::paintCourtButton(int court, const QColor& colour)
{
    QPushButton* b = courtButton(court);
    b->setStyleSheet(
        QStringLiteral("QPushButton { background-color: %1; color: %2; border: 1px solid #808080; "
                       "padding: 3px 6px; } QPushButton:focus { border: 2px solid #000000; }")
            .arg(colour.name(), textOn(colour).name()));
    b->setProperty("courtColour", colour);
}

void Tfrm_reservierungsliste::selectCourtButton(int court)
{
    const int shown = court == allCourts ? 0 : court;
    for (int i = 0; i <= courtCount; ++i) {
        paintCourtButton(i, courts_[std::size_t(i)].colour);
        courtButton(i)->setChecked(i == shown);
    }
}

void Tfrm_reservierungsliste::formShow()
{
    courts_ = {};
    courts_[0] = {allCourtsColour, true};
    runAction([this] { courts_ = courtButtonStates(); });
    ed_datumChange();
    selectCourtButton(court());
    paintCourtButton(court(), selectedCourtColour);
}

void Tfrm_reservierungsliste::showEvent(QShowEvent* event)
{
    DeskWindow::showEvent(event);
    if (!event->spontaneous())
        formShow();
}

void Tfrm_reservierungsliste::ed_datumChange()
{
    lbl_wochentag1->setText(Wochentagskuerzel[std::size_t(dayOfWeek(DayCount::fromDate(ed_datum->date())))]);
    // Hidden, the window holds no list; showing it loads one.
    if (isVisible())
        loadList();
}

void Tfrm_reservierungsliste::btn_daybeforeClick()
{
    ed_datum->setDate(ed_datum->date().addDays(-1));
}

void Tfrm_reservierungsliste::btn_nextdayClick()
{
    ed_datum->setDate(ed_datum->date().addDays(1));
}

void Tfrm_reservierungsliste::pnl_courtClick(int court)
{
    selectCourtButton(court);
    if (!courts_[std::size_t(court)].exists)
        Messages::information(QStringLiteral("Court does not exist !"));
    else
        paintCourtButton(court, selectedCourtColour);
    lbl_platz->setText(QString::number(court));
    loadList();
}

void Tfrm_reservierungsliste::pnl_allClick()
{
    selectCourtButton(allCourts);
    paintCourtButton(allCourts, selectedCourtColour);
    lbl_platz->setText(QString::number(allCourts));
    loadList();
}

void Tfrm_reservierungsliste::rg_sortierungClick()
{
    loadList();
}

void Tfrm_reservierungsliste::loadList()
{
    const CourtRange range = courtRangeOf(court());
    const int day = DayCount::fromDate(ed_datum->date());
    const ListOrder order = sortIndex() == 1 ? ListOrder::byCourt : ListOrder::byReservator;
    QList<CourtReservation> lines;
    runAction([&] { lines = courtReservationsOfDay(day, range.von, range.bis, order); });
    model_->setLines(lines);
    if (!lines.isEmpty())
        DBGrid1->setCurrentIndex(model_->index(0, 0));
}

void Tfrm_reservierungsliste::refreshLines(int datum)
{
    if (!isVisible() || (datum != 0 && datum != DayCount::fromDate(ed_datum->date())))
        return;
    const int row = DBGrid1->currentIndex().row();
    const bool had = row >= 0 && row < model_->lines().size();
    const CourtReservation current = had ? model_->line(row) : CourtReservation{};
    loadList();
    if (!had)
        return;
    const QList<CourtReservation>& lines = model_->lines();
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i].reservierungsnummer == current.reservierungsnummer && lines[i].platz == current.platz)
            DBGrid1->setCurrentIndex(model_->index(i, 0));
}

void Tfrm_reservierungsliste::BitBtn1Click()
{
    if (model_->lines().isEmpty())
        return;
    const int row = std::max(DBGrid1->currentIndex().row(), 0);
    const CourtReservation line = model_->line(row);
    // Only Yes cancels: a question closed without an answer must not delete a booking.
    const QString question =
        line.bezahlt
            ? QStringLiteral("The reservation which you want to delete is already payed !\n\nCancel ?")
            : QStringLiteral("Delete actual selected reservation ?");
    if (!Messages::ask(question))
        return;
    runAction([&] { cancelReservation(line, DayCount::now()); });
    loadList();
}

void Tfrm_reservierungsliste::refreshOtherWindows()
{
    // A cancelled booking must lose its "players on court" marker now, not at the next minute.
    refreshCourtPlan();
    if (Tfrm_scheduler* scheduler = forms().scheduler) {
        // A failed refresh of another window must not keep this one from closing.
        try {
            scheduler->dp_datumCloseUp();
        } catch (...) {
        }
    }
}

void Tfrm_reservierungsliste::closeEvent(QCloseEvent* event)
{
    const bool wasShown = isVisible();
    DeskWindow::closeEvent(event);
    if (!wasShown || !event->isAccepted())
        return;
    refreshOtherWindows();
    model_->setLines({});
}
