#include "courts/u_courts.h"

#include "courts/courtrecords.h"
#include "courts/tcourt.h"
#include "courts/u_kenngroessen.h"
#include "courts/u_preissetzen.h"
#include "courts/u_tischerzeugen.h"
#include "data/daycount.h"
#include "data/store.h"
#include "lights/relays.h"
#include "platform/messages.h"
#include "platform/usersettings.h"
#include "ui/forms.h"
#include "ui/pictures.h"
#include "ui/textfit.h"

#include <QAction>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPalette>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString settingsGroup = QStringLiteral("frm_courts");
const QString maximizedKey = QStringLiteral("cb_max.Checked");
const QString fixedKey = QStringLiteral("cb_fix.Checked");

void paint(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QPushButton* plainButton(const char* name, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

DeskWindow* deskWindow(const char* name)
{
    return qobject_cast<DeskWindow*>(Forms::window(QLatin1String(name)));
}

// The floor takes the clicks on the green background and forgets the court under the mouse.
class CourtFloor final : public QWidget {
public:
    CourtFloor(Tfrm_courts* plan, QWidget* parent)
        : QWidget(parent)
        , plan_(plan)
    {
        setObjectName(QStringLiteral("pnl_floor"));
        setAccessibleName(QStringLiteral("click the green background to add a court"));
        paint(this, QColor(0, 128, 0));
        setMouseTracking(true);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton)
            plan_->floorClick();
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        // A fast drag that leaves its tile keeps its court.
        if (event->buttons() != Qt::LeftButton || event->modifiers() != Qt::NoModifier)
            plan_->ed_courtnummer->clear();
    }

private:
    Tfrm_courts* plan_;
};

} // namespace

Tfrm_courts::Tfrm_courts(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_courts"), QStringLiteral("Court Center"), parent)
{
    resize(900, 640);
    auto* grid = new QGridLayout(body());
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    floor_ = new CourtFloor(this, body());
    grid->addWidget(floor_, 0, 0);
    grid->addWidget(setupRightPanel(), 0, 1);
    grid->addWidget(setupBottomPanel(), 1, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(0, 1);
    if (QLayout* outer = layout())
        outer->setContentsMargins(0, 0, 4, 4);

    ed_courtnummer = new QLineEdit(body());
    ed_courtnummer->setObjectName(QStringLiteral("ed_courtnummer"));
    ed_courtnummer->hide();
    setupMenu();
    btn_close = addCloseButton();

    const std::pair<Qt::Key, void (Tfrm_courts::*)()> keys[] = {
        {Qt::Key_F2, &Tfrm_courts::btn_reservationsClick},
        {Qt::Key_F4, &Tfrm_courts::btn_schedulerClick},
    };
    for (const auto& [key, slot] : keys) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        connect(shortcut, &QShortcut::activated, this, slot);
    }

    cb_max->setChecked(UserSettings::value(settingsGroup, maximizedKey, true).toBool());
    cb_fix->setChecked(UserSettings::value(settingsGroup, fixedKey, false).toBool());
    connect(cb_max, &QCheckBox::toggled, this,
            [](bool on) { UserSettings::setValue(settingsGroup, maximizedKey, on); });
    connect(cb_fix, &QCheckBox::toggled, this, [this](bool on) {
        UserSettings::setValue(settingsGroup, fixedKey, on);
        if (on)
            runAction([this] { storeTilePlaces(); });
    });

    tm_laufzeit = new QTimer(this);
    tm_laufzeit->setObjectName(QStringLiteral("tm_laufzeit"));
    tm_laufzeit->setInterval(60000);
    connect(tm_laufzeit, &QTimer::timeout, this, [this] { runAction([this] { tm_laufzeitTimer(); }); });
    tm_laufzeit->start();
}

QWidget* Tfrm_courts::setupRightPanel()
{
    auto* panel = new QWidget(body());
    panel->setObjectName(QStringLiteral("pnl_right"));
    panel->setFixedWidth(110);
    QFont small = panel->font();
    small.setPointSize(8);
    panel->setFont(small);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(2, 4, 2, 4);

    sw_alleon = plainButton("sw_alleon", QStringLiteral("all on"), panel);
    sw_alleoff = plainButton("sw_alleoff", QStringLiteral("all off"), panel);
    sw_alleon->setIcon(Pictures::toolIcon(Pictures::Tool::Lights));
    sw_alleoff->setIcon(Pictures::toolIcon(Pictures::Tool::LightOff));
    sw_alleon->setToolTip(QStringLiteral("all lights on"));
    sw_alleoff->setToolTip(QStringLiteral("all lights off"));
    connect(sw_alleon, &QPushButton::clicked, this, [this] { runAction(fAlleEin); });
    connect(sw_alleoff, &QPushButton::clicked, this, [this] { runAction(fAlleAus); });
    column->addWidget(sw_alleon);
    column->addWidget(sw_alleoff);

    const struct {
        QColor colour;
        QString hint;
    } groups[] = {{Qt::yellow, QStringLiteral("Gruppe 1 ")},
                  {Qt::cyan, QStringLiteral("Gruppe 2")},
                  {Qt::red, QString()},
                  {Qt::green, QString()}};
    for (int n = 1; n <= 4; ++n) {
        auto* group = new QWidget(panel);
        group->setObjectName(QStringLiteral("pnl_gruppe%1").arg(n));
        paint(group, groups[n - 1].colour);
        group->setToolTip(groups[n - 1].hint);
        auto* row = new QHBoxLayout(group);
        row->setContentsMargins(3, 3, 3, 3);
        sw_gruppeon[n] = plainButton("", QStringLiteral("on"), group);
        sw_gruppeon[n]->setObjectName(QStringLiteral("sw_gruppe%1on").arg(n));
        sw_gruppeon[n]->setAccessibleName(QStringLiteral("group %1 on").arg(n));
        sw_gruppeoff[n] = plainButton("", QStringLiteral("off"), group);
        sw_gruppeoff[n]->setObjectName(QStringLiteral("sw_gruppe%1off").arg(n));
        sw_gruppeoff[n]->setAccessibleName(QStringLiteral("group %1 off").arg(n));
        for (QPushButton* b : {sw_gruppeon[n], sw_gruppeoff[n]})
            b->setMinimumWidth(0);
        connect(sw_gruppeon[n], &QPushButton::clicked, this,
                [this, n] { runAction([n] { fGruppeEin(n); }); });
        connect(sw_gruppeoff[n], &QPushButton::clicked, this,
                [this, n] { runAction([n] { fGruppeAus(n); }); });
        row->addWidget(sw_gruppeon[n]);
        row->addWidget(sw_gruppeoff[n]);
        column->addWidget(group);
    }

    btn_schalttafel = plainButton("btn_schalttafel", QString(), panel);
    btn_schalttafel->setIcon(Pictures::toolIcon(Pictures::Tool::Lights));
    btn_schalttafel->setIconSize(QSize(32, 32));
    btn_schalttafel->setToolTip(QStringLiteral("switch panel"));
    btn_schalttafel->setAccessibleName(QStringLiteral("switch panel"));
    connect(btn_schalttafel, &QPushButton::clicked, this, &Tfrm_courts::btn_schalttafelClick);
    column->addWidget(btn_schalttafel);

    cb_max = new QCheckBox(QStringLiteral("open maximized"), panel);
    cb_max->setObjectName(QStringLiteral("cb_max"));
    cb_max->setChecked(true);
    cb_fix = new QCheckBox(QStringLiteral("fix courts"), panel);
    cb_fix->setObjectName(QStringLiteral("cb_fix"));
    // The panel keeps its width, which the tiles' clamping counts on; the captions shrink to it.
    for (QCheckBox* box : {cb_max, cb_fix})
        TextFit::shrinkToWidth(box, panel->maximumWidth() - column->contentsMargins().left() -
                                        column->contentsMargins().right());
    column->addWidget(cb_max);
    column->addWidget(cb_fix);
    btn_scheduler = plainButton("btn_scheduler", QStringLiteral("Scheduler  [F4]"), panel);
    btn_reservations = plainButton("btn_reservations", QStringLiteral("Reservations [F2]"), panel);
    connect(btn_scheduler, &QPushButton::clicked, this, &Tfrm_courts::btn_schedulerClick);
    connect(btn_reservations, &QPushButton::clicked, this, &Tfrm_courts::btn_reservationsClick);
    column->addWidget(btn_scheduler);
    column->addWidget(btn_reservations);
    column->addStretch();

    // The legend of the two markers.
    const struct {
        const char* name;
        QColor colour;
        QString text;
    } legend[] = {{"pnl_legendplayers", Qt::red, QStringLiteral("players on court")},
                  {"pnl_legendnotcalc", Qt::yellow, QStringLiteral("not calculated\nreservation")}};
    for (const auto& entry : legend) {
        auto* row = new QHBoxLayout;
        QFrame* square = markerPanel(QLatin1String(entry.name), entry.colour, panel);
        square->setFixedSize(11, 12);
        row->addWidget(square, 0, Qt::AlignTop);
        auto* text = new QLabel(entry.text, panel);
        row->addWidget(text, 1);
        column->addLayout(row);
    }
    return panel;
}

QWidget* Tfrm_courts::setupBottomPanel()
{
    auto* panel = new QWidget(body());
    panel->setObjectName(QStringLiteral("pnl_bottom"));
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(6, 2, 6, 0);
    const QString hints[] = {QStringLiteral("click the green background to add a court"),
                             QStringLiteral("rightclick a court for actionsmenü"),
                             QStringLiteral("press the F4 key to show the scheduler")};
    for (const QString& hint : hints) {
        auto* label = new QLabel(hint, panel);
        row->addWidget(label);
        row->addSpacing(16);
    }
    row->addStretch();
    return panel;
}

void Tfrm_courts::setupMenu()
{
    pm_courts = new QMenu(this);
    pm_courts->setObjectName(QStringLiteral("pm_courts"));
    auto entry = [this](const char* name, const QString& caption, void (Tfrm_courts::*slot)()) {
        QAction* action = pm_courts->addAction(caption);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    mnu_calculate =
        entry("mnu_calculate", QStringLiteral("calculate court"), &Tfrm_courts::mnu_calculateClick);
    pm_courts->addSeparator();
    mnu_courtreservations = entry("mnu_courtreservations", QStringLiteral("court reservations"),
                                  &Tfrm_courts::mnu_courtreservationsClick);
    pm_courts->addSeparator();
    mnu_prices =
        entry("mnu_prices", QStringLiteral("price and courtdefinition"), &Tfrm_courts::mnu_pricesClick);
    pm_courts->addSeparator();
    mnu_parameters = entry("mnu_parameters", QStringLiteral("parameters"), &Tfrm_courts::mnu_parametersClick);
    pm_courts->addSeparator();
    mnu_deletecourt = entry("mnu_deletecourt", QStringLiteral("destroy court and its reservations"),
                            &Tfrm_courts::mnu_deletecourtClick);
    pm_courts->addSeparator();
    mnu_bulpon = entry("mnu_bulpon", QStringLiteral("bulbon"), &Tfrm_courts::mnu_bulponClick);
    mnu_bulpon->setIcon(Pictures::toolIcon(Pictures::Tool::Lights));
    bulpoff1 = entry("bulpoff1", QStringLiteral("bulboff"), &Tfrm_courts::bulpoff1Click);
    bulpoff1->setIcon(Pictures::toolIcon(Pictures::Tool::LightOff));
}

tcourt* Tfrm_courts::tile(int court) const
{
    if (court < CourtPlan::firstCourt || court > CourtPlan::lastCourt)
        return nullptr;
    return tiles_[std::size_t(court)];
}

tcourt* Tfrm_courts::addTile(const CourtPlan::TileLook& look)
{
    if (look.court < CourtPlan::firstCourt || look.court > CourtPlan::lastCourt)
        return nullptr;
    removeTile(look.court);
    auto* created = new tcourt(floor_);
    created->move(look.place);
    created->setLook(look);
    created->setContextMenuPolicy(Qt::DefaultContextMenu);
    created->setMouseTracking(true);
    created->installEventFilter(this);
    created->show();
    tiles_[std::size_t(look.court)] = created;
    return created;
}

void Tfrm_courts::removeTile(int court)
{
    if (tcourt* old = tile(court)) {
        tiles_[std::size_t(court)] = nullptr;
        delete old;
    }
}

void Tfrm_courts::removeAllTiles()
{
    for (int court = CourtPlan::firstCourt; court <= CourtPlan::lastCourt; ++court)
        removeTile(court);
}

void Tfrm_courts::storeTilePlaces()
{
    std::map<int, QPoint> places;
    for (int court = CourtPlan::firstCourt; court <= CourtPlan::lastCourt; ++court)
        if (const tcourt* t = tile(court))
            places[court] = t->pos();
    CourtPlan::storeTilePlaces(places);
}

void Tfrm_courts::showTiles()
{
    std::vector<int> have;
    for (int court = CourtPlan::firstCourt; court <= CourtPlan::lastCourt; ++court)
        if (tile(court))
            have.push_back(court);
    for (const CourtPlan::TileLook& look : CourtPlan::tileLooks(have)) {
        if (!look.typeFound)
            Messages::information(QStringLiteral("courtcolor is not defined!"));
        addTile(look);
    }
    tm_laufzeitTimer();
}

void Tfrm_courts::tm_laufzeitTimer()
{
    const double now = DayCount::now();
    for (int court = CourtPlan::firstCourt; court <= CourtPlan::lastCourt; ++court)
        if (tcourt* t = tile(court))
            t->showTimes(states_.tileTimes(court, now));
}

bool Tfrm_courts::eventFilter(QObject* watched, QEvent* event)
{
    auto* t = qobject_cast<tcourt*>(watched);
    if (!t || t->parent() != floor_)
        return DeskWindow::eventFilter(watched, event);
    // The tile's mouse events end at the tile: passed on, the floor would take a press for a
    // click on the green background and a move for leaving the court.
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        pressed_ = static_cast<QMouseEvent*>(event)->position().toPoint();
        return true;
    case QEvent::MouseMove: tileMouseMove(t, static_cast<QMouseEvent*>(event)); return true;
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: return true;
    case QEvent::ContextMenu:
        openCourtMenu(t, static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    default: return false;
    }
}

void Tfrm_courts::tileMouseMove(tcourt* t, QMouseEvent* event)
{
    ed_courtnummer->setText(QString::number(t->tag()));
    t->setCursor(Qt::PointingHandCursor);
    if (cb_fix->isChecked() || event->buttons() != Qt::LeftButton || event->modifiers() != Qt::NoModifier ||
        ed_courtnummer->text().isEmpty())
        return;
    tcourt* moving = tile(ed_courtnummer->text().toInt());
    if (!moving)
        return;
    const QPoint at = event->position().toPoint();
    moving->move(CourtPlan::clampTile(moving->pos() + (at - pressed_), size()));
}

void Tfrm_courts::openCourtMenu(tcourt* t, const QPoint& globalPos)
{
    // The keyboard's menu key reaches the focused tile without a mouse move before it.
    ed_courtnummer->setText(QString::number(t->tag()));
    pm_courts->popup(globalPos);
}

void Tfrm_courts::showEvent(QShowEvent* event)
{
    DeskWindow::showEvent(event);
    if (event->spontaneous())
        return;
    if (cb_max->isChecked())
        setWindowState(windowState() | Qt::WindowMaximized);
    cb_fix->setFocus();
    runAction([this] { showTiles(); });
}

void Tfrm_courts::closeEvent(QCloseEvent* event)
{
    runAction([this] { storeTilePlaces(); });
    DeskWindow::closeEvent(event);
}

void Tfrm_courts::floorClick()
{
    if (forms().tischerzeugen)
        forms().tischerzeugen->showModal();
}

void Tfrm_courts::mnu_calculateClick()
{
    DeskWindow* billing = deskWindow("frm_abrechnung");
    if (!billing)
        return;
    if (auto* court = billing->findChild<QLineEdit*>(QStringLiteral("ed_court")))
        court->setText(ed_courtnummer->text());
    billing->showModal();
}

void Tfrm_courts::mnu_courtreservationsClick()
{
    if (QWidget* list = Forms::window(QStringLiteral("frm_reservierungsliste")))
        QMetaObject::invokeMethod(list, "showFor", Q_ARG(QDate, DayCount::currentMoment().date()),
                                  Q_ARG(int, ed_courtnummer->text().toInt()));
}

void Tfrm_courts::btn_reservationsClick()
{
    if (QWidget* list = Forms::window(QStringLiteral("frm_reservierungsliste")))
        QMetaObject::invokeMethod(list, "showFor", Q_ARG(QDate, DayCount::currentMoment().date()),
                                  Q_ARG(int, -1));
}

void Tfrm_courts::btn_schedulerClick()
{
    if (DeskWindow* scheduler = deskWindow("frm_scheduler"))
        scheduler->showIndependent();
}

void Tfrm_courts::btn_schalttafelClick()
{
    if (DeskWindow* panel = deskWindow("frm_schalttafel"))
        panel->showModal();
}

void Tfrm_courts::mnu_pricesClick()
{
    if (forms().preissetzen)
        forms().preissetzen->showModal();
}

void Tfrm_courts::mnu_parametersClick()
{
    if (forms().kenngroessen)
        forms().kenngroessen->showModal();
}

void Tfrm_courts::mnu_deletecourtClick()
{
    bool number = false;
    const int court = ed_courtnummer->text().toInt(&number);
    if (!number) {
        Messages::information(CourtRecords::cannotDestroy);
        return;
    }
    runAction([&] {
        if (!CourtRecords::courtExists(court)) {
            Messages::information(CourtRecords::notFound);
            return;
        }
        if (!Messages::ask(CourtRecords::destroyQuestion))
            return;
        CourtRecords::destroyCourt(court);
        removeTile(court);
        if (QWidget* scheduler = Forms::window(QStringLiteral("frm_scheduler"))) {
            try {
                QMetaObject::invokeMethod(scheduler, "dp_datumCloseUp");
            } catch (const StoreError&) {
            }
        }
    });
    ed_courtnummer->clear();
}

void Tfrm_courts::mnu_bulponClick()
{
    CourtPlan::switchLight(ed_courtnummer->text(), true);
}

void Tfrm_courts::bulpoff1Click()
{
    CourtPlan::switchLight(ed_courtnummer->text(), false);
}

void refreshCourtPlan()
{
    Tfrm_courts* courts = forms().courts;
    if (!courts)
        return;
    try {
        courts->tm_laufzeitTimer();
    } catch (const StoreError&) {
    }
}
