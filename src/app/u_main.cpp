#include "app/u_main.h"

#include "app/closinganimation.h"
#include "app/sessionstart.h"
#include "app/u_about.h"
#include "backup/u_archiv.h"
#include "billing/u_abrechnung.h"
#include "billing/u_abschluesse.h"
#include "billing/u_alleabschluessereport.h"
#include "billing/u_laender.h"
#include "billing/u_tagesabrechnung.h"
#include "cards/u_kartenleser.h"
#include "cards/u_mitglieder.h"
#include "courts/u_courts.h"
#include "courts/u_kenngroessen.h"
#include "courts/u_preissetzen.h"
#include "courts/u_tischfarben.h"
#include "data/daycount.h"
#include "data/session.h"
#include "data/store.h"
#include "lights/u_abbruchfenster.h"
#include "lights/u_gruppensteuerung.h"
#include "lights/u_lichtsteuerung.h"
#include "lights/u_schalttafel.h"
#include "reservations/u_druck.h"
#include "reservations/u_namensliste.h"
#include "reservations/u_scheduler.h"
#include "reservations/u_statistik.h"
#include "stock/u_inventar.h"
#include "ui/forms.h"
#include "ui/helpviewer.h"
#include "ui/pictures.h"
#include "ui/placement.h"
#include "ui/storeaction.h"
#include "users/rightscontrols.h"
#include "users/u_aktivitaeten.h"
#include "users/u_anmeldung.h"
#include "users/u_anmeldungfirst.h"
#include "users/u_benutzerrechte.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

using Slot = void (Tfrm_main::*)();
using Tool = Pictures::Tool;

struct MenuItem {
    const char* name;
    const char* caption;
    Slot slot;
    std::optional<Tool> picture;
};

struct Menu {
    const char* name;
    const char* caption;
    std::initializer_list<MenuItem> items;
};

// A window whose creation failed is absent; its command then does nothing.
void openModal(DeskWindow* window)
{
    if (window)
        window->showModal();
}

void openIndependent(DeskWindow* window)
{
    if (window)
        window->showIndependent();
}

// A build or an unpacked copy keeps the page beside the program; an installed program keeps it
// under share/courtoria, since a directory inside bin/ has no place on a Linux system. Neither
// found: the page beside the program, so that the desktop names the missing file.
QString browserHelpPage()
{
    const QString page = QStringLiteral("Help Browser/index.html");
    const QDir program(QCoreApplication::applicationDirPath());
    const QString beside = program.filePath(page);
    if (QFileInfo::exists(beside))
        return beside;
    const QString shared = QDir::cleanPath(program.filePath(QStringLiteral("../share/courtoria/") + page));
    return QFileInfo::exists(shared) ? shared : beside;
}

} // namespace

Tfrm_main::Tfrm_main(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frm_main"));
    setWindowTitle(QStringLiteral("Courtoria"));
    setWindowIcon(Pictures::toolIcon(Tool::Court));
    // Start-up re-sends the relay modules' stored state and asks while the port cannot be opened.
    SessionStart::setRelayRestart(restartRelaysAtStart);
    buildMenu();
    buildToolBar();

    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("pnl_main"));
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    Image1 = new HallPicture(panel);
    Image1->setObjectName(QStringLiteral("Image1"));
    layout->addWidget(Image1, 1);
    lbl_closing = new QLabel(QStringLiteral("CLOSING APPLICATION"), panel);
    lbl_closing->setObjectName(QStringLiteral("lbl_closing"));
    lbl_closing->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    QFont big = lbl_closing->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    lbl_closing->setFont(big);
    an_close = new ClosingAnimation(panel);
    an_close->setObjectName(QStringLiteral("an_close"));
    layout->addStretch();
    layout->addWidget(lbl_closing);
    layout->addWidget(an_close, 0, Qt::AlignHCenter);
    layout->addStretch();
    lbl_closing->hide();
    an_close->hide();
    setCentralWidget(panel);
    resize(960, 660);
}

Tfrm_main::~Tfrm_main()
{
    Help::quit();
}

void Tfrm_main::buildMenu()
{
    const Menu menus[] = {
        {"mnu_anmeldung",
         "&Login",
         {{"mnu_neuanmeldung", "&Login", &Tfrm_main::mnu_neuanmeldungClick, Tool::Login},
          {"mnu_rechte", "&Userrights", &Tfrm_main::mnu_rechteClick, Tool::Rights}}},
        {"mnu_verwaltung",
         "&Administration",
         {{"mnu_courts", "&Courts", &Tfrm_main::mnu_courtsClick, Tool::Court},
          {"mnu_scheduler", "&Scheduler", &Tfrm_main::mnu_schedulerClick, Tool::Scheduler},
          {"mnu_abschluss", "&Daily account", &Tfrm_main::mnu_abschlussClick, Tool::DailyAccount},
          {"mnu_abschluesse", "D&aily accounts overview", &Tfrm_main::mnu_abschluesseClick,
           Tool::AccountsOverview}}},
        {"mnu_stammdaten",
         "&Masterdatas",
         {{"mnu_mitglieder", "&Members", &Tfrm_main::mnu_mitgliederClick, Tool::Members},
          {"mnu_kenngroessen", "&Parameters", &Tfrm_main::mnu_kenngroessenClick, Tool::Parameters},
          {"mnu_prices", "P&rices", &Tfrm_main::mnu_pricesClick, std::nullopt},
          {"mnu_inventar", "&Stock", &Tfrm_main::mnu_inventarClick, Tool::Stock},
          {"mnu_laenderwahl", "&Set currency", &Tfrm_main::mnu_laenderwahlClick, std::nullopt},
          {"mnu_tischfarben", "&Courtcolor && picture", &Tfrm_main::mnu_tischfarbenClick, std::nullopt},
          {"mnu_zip", "&Save && restore database", &Tfrm_main::mnu_zipClick, Tool::SaveDatas},
          {"mnu_namensliste", "&List of names", &Tfrm_main::mnu_namenslisteClick, std::nullopt},
          {"mnu_activities", "&Watch activities", &Tfrm_main::mnu_activitiesClick, std::nullopt}}},
        {"mnu_lichtsteuerung",
         "Lig&hts ",
         {{"mnu_tischlichtsteuerung", "&Switch courts", &Tfrm_main::mnu_tischlichtsteuerungClick,
           Tool::Lights},
          {"mnu_sonstigeschalter", "S&witch groups", &Tfrm_main::mnu_sonstigeschalterClick, std::nullopt},
          {"mnu_schalttafel", "Sw&itchpanel", &Tfrm_main::mnu_schalttafelClick, std::nullopt}}},
        {"mnu_sprache",
         "&Cardreader",
         {{"mnu_kartenleser", "&Card reader-writer", &Tfrm_main::mnu_kartenleserClick, Tool::Cardreader}}},
        {"mnu_statistiken",
         "&Statistic",
         {{"mnu_tischstatistik", "&Courtstatistic", &Tfrm_main::mnu_tischstatistikClick, Tool::Statistic},
          {"mnu_druck", "&Reservation report", &Tfrm_main::mnu_druckClick, std::nullopt}}},
        {"mnu_hilfe",
         "&Help",
         {{"mnu_windowshelp", "show He&lp ", &Tfrm_main::mnu_windowshelpClick, Tool::Help},
          {"mnu_browserhelp", "&show Help by Browser", &Tfrm_main::mnu_browserhelpClick, std::nullopt},
          {"Aboutus1", "&About us", &Tfrm_main::Aboutus1Click, Tool::About}}},
    };
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("mnu_hauptmenue"));
    for (const Menu& m : menus) {
        QMenu* menu = bar->addMenu(QString::fromUtf8(m.caption));
        menu->setObjectName(QLatin1String(m.name));
        for (const MenuItem& item : m.items) {
            QAction* action = menu->addAction(QString::fromUtf8(item.caption));
            action->setObjectName(QLatin1String(item.name));
            if (item.picture)
                action->setIcon(Pictures::toolIcon(*item.picture));
            connect(action, &QAction::triggered, this, item.slot);
        }
    }
}

void Tfrm_main::buildToolBar()
{
    struct Button {
        const char* name;
        const char* hint;
        Tool picture;
        Slot slot;
    };
    const Button buttons[] = {
        {"btn_tische", "Court", Tool::Court, &Tfrm_main::mnu_courtsClick},
        {"btn_scheduler", "Scheduler", Tool::Scheduler, &Tfrm_main::mnu_schedulerClick},
        {"btn_tagesabschluss", "Daily Account", Tool::DailyAccount, &Tfrm_main::mnu_abschlussClick},
        {"btn_abschluessesehen", "Daily Accounts overview", Tool::AccountsOverview,
         &Tfrm_main::mnu_abschluesseClick},
        {"btn_stock", "Stock", Tool::Stock, &Tfrm_main::mnu_inventarClick},
        {"btn_mitgliederdaten", "Members", Tool::Members, &Tfrm_main::mnu_mitgliederClick},
        {"btn_kenngroessen", "price and Parameters", Tool::Parameters, &Tfrm_main::mnu_kenngroessenClick},
        {"btn_zip", "Save Datas", Tool::SaveDatas, &Tfrm_main::mnu_zipClick},
        {"btn_close", "Close Program", Tool::Close, &Tfrm_main::btn_closeClick},
    };
    sb_main = addToolBar(QStringLiteral("sb_main"));
    sb_main->setObjectName(QStringLiteral("sb_main"));
    sb_main->setMovable(false);
    sb_main->setFloatable(false);
    sb_main->setIconSize(QSize(38, 38));
    sb_main->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    for (const Button& b : buttons) {
        auto* button = new QToolButton(sb_main);
        button->setObjectName(QLatin1String(b.name));
        button->setToolTip(QString::fromUtf8(b.hint));
        button->setIcon(Pictures::toolIcon(b.picture));
        button->setIconSize(QSize(38, 38));
        button->setFixedSize(47, 47);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QToolButton::clicked, this, b.slot);
        sb_main->addWidget(button);
    }
}

void Tfrm_main::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (firstShowDone_ || closing_)
        return;
    firstShowDone_ = true;
    Placement::restore(this);
    // The steps run once the window is on the screen, so that the log-in appears above it.
    QTimer::singleShot(0, this, &Tfrm_main::FormShow);
}

void Tfrm_main::FormShow()
{
    Session::Wartezeit = 10;
    // A server that does not answer and is not retried ends the program as a failed log-in does.
    bool loggedIn = SessionStart::reachStore();
    // A store error shows its message and ends the steps there; the program runs on.
    if (loggedIn && !StoreAction::run([&] { loggedIn = startSession(); }))
        lockUnlessLoginIsNotRequired();
    emit shown();
    if (!loggedIn)
        close();
}

void Tfrm_main::lockUnlessLoginIsNotRequired()
{
    if (accessDecided_)
        return;
    // The steps ended before the log-in was asked. An installation that asks for one must not run
    // with every command open: they wait for a log-in through the Login menu. Where the question
    // itself cannot be read, nobody can tell that no log-in is required.
    bool required = true;
    try {
        required = SessionStart::administratorLoginRequired();
    } catch (const StoreError&) {
    }
    applyControlStates(required ? RightsMap::statesFor({}) : RightsMap::allEnabled());
}

bool Tfrm_main::startSession()
{
    SessionStart::loadNachkommafaktor();
    showCurrencyText(SessionStart::currencyText());
    Forms& f = forms();
    Help::setHelpFile(QStringLiteral("Courtoria.hlp"));
    SessionStart::loadCardFlags();
    if (SessionStart::administratorLoginRequired()) {
        Session::Angemeldet = false;
        // Without its log-in window nobody can log in: the program ends as after a failed log-in.
        if (f.anmeldungfirst)
            f.anmeldungfirst->showModal();
        if (!Session::Angemeldet)
            return false;
    } else {
        applyControlStates(RightsMap::allEnabled());
    }
    accessDecided_ = true;
    SessionStart::trimActivityLog(DayCount::today());
    SessionStart::restoreParametersAndRelays();
    return true;
}

void Tfrm_main::closeEvent(QCloseEvent* event)
{
    if (closed_) {
        event->accept();
        return;
    }
    event->ignore();
    if (closing_)
        return;
    closing_ = true;
    Placement::save(this);
    menuBar()->setEnabled(false);
    sb_main->setEnabled(false);
    Image1->hide();
    lbl_closing->show();
    an_close->show();
    an_close->start(closingMilliseconds);
    if (Tfrm_scheduler* scheduler = forms().scheduler) {
        forms().scheduler = nullptr;
        scheduler->hide();
        scheduler->deleteLater();
    }
    QTimer::singleShot(closingMilliseconds, this, [this] {
        closed_ = true;
        close();
        emit ended();
    });
}

void Tfrm_main::mnu_neuanmeldungClick()
{
    openModal(forms().anmeldung);
}

void Tfrm_main::mnu_rechteClick()
{
    openIndependent(forms().benutzerrechte);
}

void Tfrm_main::mnu_courtsClick()
{
    openIndependent(forms().courts);
}

void Tfrm_main::mnu_schedulerClick()
{
    openIndependent(forms().scheduler);
}

void Tfrm_main::mnu_abschlussClick()
{
    openIndependent(forms().tagesabrechnung);
}

void Tfrm_main::mnu_abschluesseClick()
{
    openIndependent(forms().abschluesse);
}

void Tfrm_main::mnu_mitgliederClick()
{
    openIndependent(forms().mitglieder);
}

void Tfrm_main::mnu_kenngroessenClick()
{
    openModal(forms().kenngroessen);
}

void Tfrm_main::mnu_pricesClick()
{
    openModal(forms().preissetzen);
}

void Tfrm_main::mnu_inventarClick()
{
    openIndependent(forms().inventar);
}

void Tfrm_main::mnu_laenderwahlClick()
{
    openIndependent(forms().laender);
}

void Tfrm_main::mnu_tischfarbenClick()
{
    openModal(forms().tischfarben);
}

void Tfrm_main::mnu_zipClick()
{
    openIndependent(forms().archiv);
}

void Tfrm_main::mnu_namenslisteClick()
{
    openIndependent(forms().namensliste);
}

void Tfrm_main::mnu_activitiesClick()
{
    openModal(forms().aktivitaeten);
}

void Tfrm_main::mnu_tischlichtsteuerungClick()
{
    openModal(forms().lichtsteuerung);
}

void Tfrm_main::mnu_sonstigeschalterClick()
{
    openModal(forms().gruppensteuerung);
}

void Tfrm_main::mnu_schalttafelClick()
{
    openModal(forms().schalttafel);
}

void Tfrm_main::mnu_kartenleserClick()
{
    openIndependent(forms().kartenleser);
}

void Tfrm_main::mnu_tischstatistikClick()
{
    openModal(forms().statistik);
}

void Tfrm_main::mnu_druckClick()
{
    openModal(forms().druck);
}

void Tfrm_main::mnu_windowshelpClick()
{
    Help::showContents();
}

void Tfrm_main::mnu_browserhelpClick()
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(browserHelpPage()));
}

void Tfrm_main::Aboutus1Click()
{
    openModal(forms().about);
}
void Tfrm_main::btn_closeClick()
{
    close();
}
