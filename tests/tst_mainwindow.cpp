#include "app/closinganimation.h"
#include "app/u_about.h"
#include "app/u_intro.h"
#include "app/u_main.h"
#include "app/windowset.h"
#include "billing/u_abrechnung.h"
#include "billing/u_abschluesse.h"
#include "billing/u_alleabschluessereport.h"
#include "billing/u_tagesabrechnung.h"
#include "courts/u_courts.h"
#include "data/daycount.h"
#include "data/session.h"
#include "data/store.h"
#include "data/u_datasets.h"
#include "platform/messages.h"
#include "platform/registry.h"
#include "platform/usersettings.h"
#include "refusingtrigger.h"
#include "reservations/u_scheduler.h"
#include "rightstable.h"
#include "testinstallation.h"
#include "ui/deskwindow.h"
#include "ui/forms.h"
#include "ui/helpviewer.h"
#include "users/u_anmeldung.h"
#include "users/u_anmeldungfirst.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QWindow>

namespace {

// The objects of the start-up after the main window, in the order they are created.
const QStringList startUpObjects = {
    "Tfrm_scheduler",
    "Tfrm_courts",
    "Tfrm_tischerzeugen",
    "Tfrm_mitglieder",
    "Tdm_datasets",
    "Tfrm_tischfarben",
    "Tfrm_abrechnung",
    "Tfrm_kenngroessen",
    "Tfrm_preissetzen",
    "Tfrm_anmeldungfirst",
    "Tfrm_laender",
    "Tfrm_Tagesabrechnung",
    "Tfrm_abschluesse",
    "Tfrm_alleabschluessereport",
    "Tfrm_inventar",
    "Tfrm_kartenleser",
    "Tfrm_anmeldung",
    "Tfrm_benutzerrechte",
    "Tfrm_gruppensteuerung",
    "Tfrm_lichtsteuerung",
    "Tfrm_schalttafel",
    "Tfrm_archiv",
    "Tfrm_about",
    "Tfrm_beleg",
    "Tfrm_belegmexiko",
    "Tfrm_reservieren",
    "Tfrm_namensliste",
    "Tfrm_reservierungsliste",
    "Tfrm_statistik",
    "Tfrm_druck",
    "Tfrm_aktivitaeten",
    "Tfrm_abbruchfenster",
};

QString className(const QObject* o)
{
    return QString::fromLatin1(o->metaObject()->className());
}

// The created windows besides the main window.
QList<QWidget*> createdWindows()
{
    QList<QWidget*> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (className(w).startsWith(QLatin1String("Tfrm_")) && w != forms().main)
            windows << w;
    return windows;
}

// Acts on the next modal window once it is open (a log-in blocks in its own event loop). The timer
// deletes itself later once it acted; a caller that expected a modal window which never came
// deletes it.
QPointer<QTimer> onModal(std::function<void(QWidget*)> act)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(w);
            // A failed check inside act must not leave the test waiting on the window.
            if (QApplication::activeModalWidget() == w)
                w->close();
        }
    });
    timer->start();
    return timer;
}

void logIn(QWidget* window, const QString& user, const QString& password)
{
    window->findChild<QComboBox*>(QStringLiteral("lu_user"))->setEditText(user);
    window->findChild<QLineEdit*>(QStringLiteral("ed_passwort"))->setText(password);
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("btn_anmelden")), Qt::LeftButton);
}

// The main window's own commands; its child windows hold controls of the same names.
QAction* action(const QString& name)
{
    return forms().main->menuBar()->findChild<QAction*>(name);
}
QToolButton* button(const QString& name)
{
    return forms().main->sb_main->findChild<QToolButton*>(name);
}

// A control a right governs: a menu entry or a button of the named window.
bool governedEnabled(const GovernedControl& c)
{
    const QString name = QLatin1String(c.control);
    if (QLatin1String(c.window) == QLatin1String("frm_main")) {
        if (QAction* a = action(name))
            return a->isEnabled();
        QToolButton* b = button(name);
        return b && b->isEnabled();
    }
    QWidget* window = Forms::window(QLatin1String(c.window));
    if (!window)
        return false;
    if (auto* a = window->findChild<QAction*>(name))
        return a->isEnabled();
    auto* w = window->findChild<QWidget*>(name);
    return w && w->isEnabled();
}

void setGoverned(bool enabled)
{
    for (const GovernedControl& c : governedControls) {
        const QString name = QLatin1String(c.control);
        if (QLatin1String(c.window) == QLatin1String("frm_main")) {
            if (QAction* a = action(name))
                a->setEnabled(enabled);
            else if (QToolButton* b = button(name))
                b->setEnabled(enabled);
        } else if (QWidget* window = Forms::window(QLatin1String(c.window))) {
            if (auto* a = window->findChild<QAction*>(name))
                a->setEnabled(enabled);
        }
    }
}

class Receiver : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void loadingScreenFillsWithTheObjects();
    void windowsAreCreatedInTheStartUpOrder();
    void storeErrorWhileCreatingSkipsOnlyThatWindow();
    void windowsHaveTheirCaptions_data();
    void windowsHaveTheirCaptions();
    void commands_data();
    void commands();
    void toolBarButtons();
    void windowsBelongToTheMainWindow();
    void fixedSizeDialogs_data();
    void fixedSizeDialogs();
    void withoutLoginEveryCommandIsEnabled();
    void employeeWithoutCourtAdministration();
    void wrongPasswordThenClosingEndsTheProgram();
    void onlyASuccessfulLoginIsRemembered();
    void emptyCurrencyShowsUsDollar();
    void storeErrorEndsTheSteps();
    void storeErrorBeforeTheLogInKeepsTheCommandsLocked_data();
    void storeErrorBeforeTheLogInKeepsTheCommandsLocked();
    void closingShowsTheAnimation();
    void independentWindowOpensOnce();
    void helpAndAbout();

private:
    void showMain();
    void requireLogin();

    std::unique_ptr<TestInstallation> installation_;
    QStringList messages_;
};

void TestMainWindow::init()
{
    installation_ = std::make_unique<TestInstallation>();
    QVERIFY(installation_->isValid());
    messages_.clear();
    Messages::setHandler([this](Messages::Kind, const QString& text) {
        messages_ << text;
        return Messages::Answer::No;
    });
    Tfrm_main::closingMilliseconds = 0;
    Session::Angemeldet = false;
    Session::Benutzertyp.clear();
    WindowSet::createMain();
    WindowSet::createObjects();
}

void TestMainWindow::cleanup()
{
    WindowSet::setCreationProbe({});
    WindowSet::destroyAll();
    Messages::setHandler({});
    installation_.reset();
}

void TestMainWindow::showMain()
{
    QSignalSpy shown(forms().main, &Tfrm_main::shown);
    forms().main->show();
    QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 1, 10000);
}

void TestMainWindow::requireLogin()
{
    TestInstallation::exec(QStringLiteral("update Rechte set Login = true where Type = 'Administrator'"));
}

void TestMainWindow::loadingScreenFillsWithTheObjects()
{
    WindowSet::destroyAll();
    WindowSet::createMain();
    Tfrm_intro intro(WindowSet::objectCount());
    QCOMPARE(intro.windowTitle(), QStringLiteral("Welcome"));
    QCOMPARE(intro.pb_loading->minimum(), 0);
    QCOMPARE(intro.pb_loading->maximum(), 1 + int(startUpObjects.size()));
    intro.step();
    WindowSet::createObjects([&] { intro.step(); });
    QCOMPARE(intro.pb_loading->value(), intro.pb_loading->maximum());
    QVERIFY(forms().datasets && forms().abbruchfenster && forms().scheduler);
    // No window opened itself while it was created.
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible() || w == &intro, qPrintable(w->objectName()));
}

void TestMainWindow::windowsAreCreatedInTheStartUpOrder()
{
    QCOMPARE(WindowSet::creationOrder(), startUpObjects);

    // What is really made, object by object, not what the table says it makes.
    WindowSet::destroyAll();
    WindowSet::createMain();
    QSet<QObject*> known;
    for (QWidget* w : QApplication::topLevelWidgets())
        known.insert(w);
    QStringList made;
    WindowSet::createObjects([&] {
        QStringList fresh;
        if (forms().datasets && !known.contains(forms().datasets)) {
            known.insert(forms().datasets);
            fresh << className(forms().datasets);
        }
        for (QWidget* w : QApplication::topLevelWidgets())
            if (!known.contains(w)) {
                known.insert(w);
                if (className(w).startsWith(QLatin1String("Tfrm_")))
                    fresh << className(w);
            }
        made << (fresh.size() == 1 ? fresh.first() : QLatin1Char('?') + fresh.join(QLatin1Char(',')));
    });
    QCOMPARE(made, startUpObjects);
}

void TestMainWindow::storeErrorWhileCreatingSkipsOnlyThatWindow()
{
    WindowSet::destroyAll();
    WindowSet::createMain();
    WindowSet::setCreationProbe([](const QString& name) {
        if (name == QLatin1String("Tfrm_courts") || name == QLatin1String("Tfrm_anmeldung"))
            throw StoreError(QStringLiteral("Table Tische is busy"));
    });
    int steps = 0;
    WindowSet::createObjects([&] { ++steps; });
    QCOMPARE(steps, WindowSet::objectCount());
    QCOMPARE(messages_, QStringList(2, QStringLiteral("Table Tische is busy")));
    QVERIFY(!forms().courts);
    QVERIFY(!forms().anmeldung);
    QVERIFY(forms().tischerzeugen && forms().scheduler && forms().benutzerrechte && forms().abbruchfenster);
    QVERIFY(!Forms::window(QStringLiteral("frm_courts")));

    // The commands of the missing windows do nothing; the others still open theirs.
    showMain();
    action(QStringLiteral("mnu_courts"))->trigger();
    QTest::mouseClick(button(QStringLiteral("btn_tische")), Qt::LeftButton);
    action(QStringLiteral("mnu_neuanmeldung"))->trigger();
    QVERIFY(!QApplication::activeModalWidget());
    action(QStringLiteral("mnu_scheduler"))->trigger();
    QVERIFY(forms().scheduler->isVisible());
    WindowSet::destroyAll(); // deleting around the empty slots
    QVERIFY(!forms().main);
    WindowSet::setCreationProbe({});
    WindowSet::createMain();
    WindowSet::createObjects();
}

void TestMainWindow::windowsHaveTheirCaptions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    const char* const rows[][2] = {
        {"frm_main", "Courtoria"},
        {"frm_scheduler", "Courtoriascheduler"},
        {"frm_courts", "Court Center"},
        {"frm_tischerzeugen", "add a court"},
        {"frm_mitglieder", "Members"},
        {"frm_tischfarben", "Courtcolors"},
        {"frm_abrechnung", "Calculation"},
        {"frm_kenngroessen", "Parameters"},
        {"frm_preissetzen", "Courtprices"},
        {"frm_anmeldungfirst", "LOGIN"},
        {"frm_laender", "Currency"},
        {"frm_Tagesabrechnung", "Daily Account"},
        {"frm_abschluesse", "All Daily Accounts"},
        {"frm_inventar", "Inventory"},
        {"frm_kartenleser", "Cardreader"},
        {"frm_anmeldung", "LOGIN"},
        {"frm_benutzerrechte", "Userrights Settings"},
        {"frm_gruppensteuerung", "Switch Groups"},
        {"frm_lichtsteuerung", "Switch Courts Settings"},
        {"frm_schalttafel", "Switchpanel"},
        {"frm_archiv", "Save and Restore Database"},
        {"frm_about", "About us"},
        {"frm_reservieren", "Reservation"},
        {"frm_namensliste", "Namelist"},
        {"frm_reservierungsliste", "Reservationlist"},
        {"frm_statistik", "Courtstatistic"},
        {"frm_druck", "Report"},
        {"frm_aktivitaeten", "View Activities"},
        {"frm_abbruchfenster", "Info"},
    };
    for (const auto& r : rows)
        QTest::newRow(r[0]) << QString::fromLatin1(r[0]) << QString::fromLatin1(r[1]);
}

void TestMainWindow::windowsHaveTheirCaptions()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QWidget* w = Forms::window(name);
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), caption);
}

void TestMainWindow::commands_data()
{
    QTest::addColumn<QString>("menu"); // the menu holding the entry, or sb_main for a button
    QTest::addColumn<QString>("menuCaption");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("caption"); // a button's hint
    QTest::addColumn<QString>("window");  // class of the window opened; empty: none (help)
    QTest::addColumn<bool>("modal");
    struct Row {
        const char* menu;
        const char* menuCaption;
        const char* control;
        const char* caption;
        const char* window;
        bool modal;
    };
    const Row rows[] = {
        {"mnu_anmeldung", "&Login", "mnu_neuanmeldung", "&Login", "Tfrm_anmeldung", true},
        {"mnu_anmeldung", "&Login", "mnu_rechte", "&Userrights", "Tfrm_benutzerrechte", false},
        {"mnu_verwaltung", "&Administration", "mnu_courts", "&Courts", "Tfrm_courts", false},
        {"mnu_verwaltung", "&Administration", "mnu_scheduler", "&Scheduler", "Tfrm_scheduler", false},
        {"mnu_verwaltung", "&Administration", "mnu_abschluss", "&Daily account", "Tfrm_Tagesabrechnung",
         false},
        {"mnu_verwaltung", "&Administration", "mnu_abschluesse", "D&aily accounts overview",
         "Tfrm_abschluesse", false},
        {"mnu_stammdaten", "&Masterdatas", "mnu_mitglieder", "&Members", "Tfrm_mitglieder", false},
        {"mnu_stammdaten", "&Masterdatas", "mnu_kenngroessen", "&Parameters", "Tfrm_kenngroessen", true},
        {"mnu_stammdaten", "&Masterdatas", "mnu_prices", "P&rices", "Tfrm_preissetzen", true},
        {"mnu_stammdaten", "&Masterdatas", "mnu_inventar", "&Stock", "Tfrm_inventar", false},
        {"mnu_stammdaten", "&Masterdatas", "mnu_laenderwahl", "&Set currency", "Tfrm_laender", false},
        {"mnu_stammdaten", "&Masterdatas", "mnu_tischfarben", "&Courtcolor && picture", "Tfrm_tischfarben",
         true},
        {"mnu_stammdaten", "&Masterdatas", "mnu_zip", "&Save && restore database", "Tfrm_archiv", false},
        {"mnu_stammdaten", "&Masterdatas", "mnu_namensliste", "&List of names", "Tfrm_namensliste", false},
        {"mnu_stammdaten", "&Masterdatas", "mnu_activities", "&Watch activities", "Tfrm_aktivitaeten", true},
        {"mnu_lichtsteuerung", "Lig&hts ", "mnu_tischlichtsteuerung", "&Switch courts", "Tfrm_lichtsteuerung",
         true},
        {"mnu_lichtsteuerung", "Lig&hts ", "mnu_sonstigeschalter", "S&witch groups", "Tfrm_gruppensteuerung",
         true},
        {"mnu_lichtsteuerung", "Lig&hts ", "mnu_schalttafel", "Sw&itchpanel", "Tfrm_schalttafel", true},
        {"mnu_sprache", "&Cardreader", "mnu_kartenleser", "&Card reader-writer", "Tfrm_kartenleser", false},
        {"mnu_statistiken", "&Statistic", "mnu_tischstatistik", "&Courtstatistic", "Tfrm_statistik", true},
        {"mnu_statistiken", "&Statistic", "mnu_druck", "&Reservation report", "Tfrm_druck", true},
        {"mnu_hilfe", "&Help", "mnu_windowshelp", "show He&lp ", "", false},
        {"mnu_hilfe", "&Help", "mnu_browserhelp", "&show Help by Browser", "", false},
        {"mnu_hilfe", "&Help", "Aboutus1", "&About us", "Tfrm_about", true},
        {"sb_main", "", "btn_tische", "Court", "Tfrm_courts", false},
        {"sb_main", "", "btn_scheduler", "Scheduler", "Tfrm_scheduler", false},
        {"sb_main", "", "btn_tagesabschluss", "Daily Account", "Tfrm_Tagesabrechnung", false},
        {"sb_main", "", "btn_abschluessesehen", "Daily Accounts overview", "Tfrm_abschluesse", false},
        {"sb_main", "", "btn_stock", "Stock", "Tfrm_inventar", false},
        {"sb_main", "", "btn_mitgliederdaten", "Members", "Tfrm_mitglieder", false},
        {"sb_main", "", "btn_kenngroessen", "price and Parameters", "Tfrm_kenngroessen", true},
        {"sb_main", "", "btn_zip", "Save Datas", "Tfrm_archiv", false},
    };
    for (const Row& r : rows)
        QTest::newRow(r.control) << QString::fromUtf8(r.menu) << QString::fromUtf8(r.menuCaption)
                                 << QString::fromUtf8(r.control) << QString::fromUtf8(r.caption)
                                 << QString::fromUtf8(r.window) << r.modal;
}

void TestMainWindow::commands()
{
    QFETCH(QString, menu);
    QFETCH(QString, menuCaption);
    QFETCH(QString, control);
    QFETCH(QString, caption);
    QFETCH(QString, window);
    QFETCH(bool, modal);
    showMain();

    // Where the command sits and what it reads.
    std::function<void()> press;
    if (menu == QLatin1String("sb_main")) {
        QToolButton* b = button(control);
        QVERIFY(b);
        QCOMPARE(b->toolTip(), caption);
        press = [b] { QTest::mouseClick(b, Qt::LeftButton); };
    } else {
        auto* m = forms().main->menuBar()->findChild<QMenu*>(menu);
        QVERIFY(m);
        QCOMPARE(m->title(), menuCaption);
        QAction* a = nullptr;
        for (QAction* candidate : m->actions())
            if (candidate->objectName() == control)
                a = candidate;
        QVERIFY2(a, "not in its menu");
        QCOMPARE(a->text(), caption);
        press = [a] { a->trigger(); };
    }
    if (window.isEmpty())
        return;

    // What it opens and how.
    if (modal) {
        QString seen;
        bool modalSeen = false;
        QPointer<QTimer> waiting = onModal([&](QWidget* w) {
            seen = className(w);
            modalSeen = w->isModal();
            w->close();
        });
        press();
        delete waiting; // stops it when no modal window came
        QVERIFY2(!seen.isEmpty(), "no modal window opened");
        QCOMPARE(seen, window);
        QVERIFY(modalSeen);
        QVERIFY(!QApplication::activeModalWidget());
    } else {
        press();
        QVERIFY(!QApplication::activeModalWidget());
        QStringList open;
        for (QWidget* w : createdWindows())
            if (w->isVisible())
                open << className(w);
        QCOMPARE(open, QStringList{window});
        auto* opened = qobject_cast<QDialog*>(Forms::window(QLatin1String("frm_") + window.mid(5)));
        QVERIFY(opened);
        QVERIFY(!opened->isModal());
        QCOMPARE(opened->windowModality(), Qt::NonModal);
        opened->close();
    }
    QVERIFY(forms().main->isVisible());
}

void TestMainWindow::toolBarButtons()
{
    const char* const expected[][2] = {
        {"btn_tische", "Court"},
        {"btn_scheduler", "Scheduler"},
        {"btn_tagesabschluss", "Daily Account"},
        {"btn_abschluessesehen", "Daily Accounts overview"},
        {"btn_stock", "Stock"},
        {"btn_mitgliederdaten", "Members"},
        {"btn_kenngroessen", "price and Parameters"},
        {"btn_zip", "Save Datas"},
        {"btn_close", "Close Program"},
    };
    QToolBar* bar = forms().main->findChild<QToolBar*>(QStringLiteral("sb_main"));
    QVERIFY(bar);
    const auto buttons = bar->findChildren<QToolButton*>(QRegularExpression(QStringLiteral("^btn_")));
    QCOMPARE(buttons.size(), 9);
    forms().main->show();
    int left = -1;
    for (const auto& e : expected) {
        QToolButton* b = button(e[0]);
        QVERIFY2(b, e[0]);
        QCOMPARE(b->toolTip(), QString::fromLatin1(e[1]));
        QCOMPARE(b->size(), QSize(47, 47));
        QVERIFY(b->autoRaise());
        QVERIFY(!b->icon().isNull());
        QVERIFY2(b->x() > left, e[0]); // left to right in the order of the table
        left = b->x();
    }
}

void TestMainWindow::windowsBelongToTheMainWindow()
{
    showMain();
    const QList<QWidget*> windows = createdWindows();
    QCOMPARE(windows.size(), WindowSet::objectCount() - 1); // the data module is no window
    for (QWidget* w : windows) {
        QVERIFY2(w->isWindow(), qPrintable(w->objectName()));
        QVERIFY2(w->parentWidget() == forms().main, qPrintable(w->objectName()));
        // What a window manager sees: the window is transient for the main window.
        w->winId();
        QVERIFY2(w->windowHandle() && w->windowHandle()->transientParent() == forms().main->windowHandle(),
                 qPrintable(w->objectName()));
        // X11 writes WM_TRANSIENT_FOR only for dialog-like window types, not for plain windows.
        QVERIFY2(w->windowType() == Qt::Dialog, qPrintable(w->objectName()));
    }
    QVERIFY(!forms().datasets->parent());
}

void TestMainWindow::fixedSizeDialogs_data()
{
    QTest::addColumn<QString>("name");
    // The court statistics is no fixed-size dialog: it has a minimise box and grows (its own test).
    for (const char* name : {"frm_anmeldungfirst", "frm_anmeldung", "frm_about", "frm_abbruchfenster",
                             "frm_reservieren", "frm_tischerzeugen"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestMainWindow::fixedSizeDialogs()
{
    QFETCH(QString, name);
    QWidget* w = Forms::window(name);
    QVERIFY(w);
    const Qt::WindowFlags flags = w->windowFlags();
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QCOMPARE(w->windowType(), Qt::Dialog);
    QCOMPARE(w->minimumSize(), w->maximumSize());
    QCOMPARE(w->parentWidget(), forms().main);
    // Everything the window may show fits into its size, the card status of a log-in included.
    if (auto* status = w->findChild<QLabel*>(QStringLiteral("lbl_status")))
        status->setVisible(true);
    const QSize needed = w->layout()->totalMinimumSize();
    QVERIFY2(needed.width() <= w->minimumWidth() && needed.height() <= w->minimumHeight(),
             qPrintable(QStringLiteral("%1x%2").arg(needed.width()).arg(needed.height())));
    // Shown, it keeps that size and its flags.
    QDialog* dialog = qobject_cast<QDialog*>(w);
    QVERIFY(dialog);
    QSize shown;
    Qt::WindowFlags shownFlags;
    onModal([&](QWidget* modal) {
        shown = modal->size();
        shownFlags = modal->windowFlags();
        modal->close();
    });
    dialog->exec();
    QCOMPARE(shown, w->minimumSize());
    QVERIFY(!(shownFlags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
}

void TestMainWindow::withoutLoginEveryCommandIsEnabled()
{
    // Whatever an earlier session left: a start without log-in enables everything.
    setGoverned(false);
    showMain();
    QVERIFY(!forms().anmeldungfirst->isVisible());
    QCOMPARE(Session::Benutzertyp, QStringLiteral("Administrator"));
    const auto actions = forms().main->menuBar()->findChildren<QAction*>();
    QVERIFY(actions.size() >= 23);
    for (QAction* a : actions)
        QVERIFY2(a->isEnabled(), qPrintable(a->objectName()));
    const auto buttons = forms().main->sb_main->findChildren<QToolButton*>();
    QVERIFY(buttons.size() >= 9);
    for (QToolButton* b : buttons)
        QVERIFY2(b->isEnabled(), qPrintable(b->objectName()));
    for (const GovernedControl& c : governedControls)
        QVERIFY2(governedEnabled(c), c.control);
}

void TestMainWindow::employeeWithoutCourtAdministration()
{
    requireLogin();
    onModal([](QWidget* w) {
        QCOMPARE(w->objectName(), QStringLiteral("frm_anmeldungfirst"));
        logIn(w, QStringLiteral("Ben"), QStringLiteral("ben"));
    });
    showMain();
    QVERIFY(Session::Angemeldet);
    QCOMPARE(Session::Benutzertyp, QStringLiteral("Employee"));
    QVERIFY(forms().main->isVisible());
    for (const char* off : {"mnu_courts", "mnu_scheduler", "mnu_schalttafel"})
        QVERIFY2(!action(QLatin1String(off))->isEnabled(), off);
    QVERIFY(!button(QStringLiteral("btn_tische"))->isEnabled());
    QVERIFY(!button(QStringLiteral("btn_scheduler"))->isEnabled());
    for (const char* on : {"mnu_neuanmeldung", "mnu_windowshelp", "mnu_browserhelp", "Aboutus1"})
        QVERIFY2(action(QLatin1String(on))->isEnabled(), on);
    QVERIFY(button(QStringLiteral("btn_close"))->isEnabled());
    // Every governed control follows Ben's own row, right by right.
    for (const GovernedControl& c : governedControls) {
        const bool granted =
            TestInstallation::scalar(
                QStringLiteral("select %1 from Rechte where Benutzer = 'Ben'").arg(QLatin1String(c.right)))
                .toBool();
        QVERIFY2(governedEnabled(c) == granted, c.control);
    }
    QVERIFY(messages_.isEmpty());

    // The court plan already open stays open; a new log-in with every right enables all again.
    forms().courts->showIndependent();
    onModal([](QWidget* w) {
        QCOMPARE(w->objectName(), QStringLiteral("frm_anmeldung"));
        // The last name is proposed, the password is not.
        QCOMPARE(w->findChild<QComboBox*>(QStringLiteral("lu_user"))->currentText(), QStringLiteral("Ben"));
        QVERIFY(w->findChild<QLineEdit*>(QStringLiteral("ed_passwort"))->text().isEmpty());
        logIn(w, QStringLiteral("admin"), QStringLiteral("admin"));
    });
    action(QStringLiteral("mnu_neuanmeldung"))->trigger();
    QVERIFY(forms().courts->isVisible());
    QCOMPARE(Session::Benutzertyp, QStringLiteral("Administrator"));
    for (const GovernedControl& c : governedControls)
        QVERIFY2(governedEnabled(c), c.control);
}

void TestMainWindow::wrongPasswordThenClosingEndsTheProgram()
{
    requireLogin();
    QSignalSpy ended(forms().main, &Tfrm_main::ended);
    bool stayedOpen = false;
    onModal([&](QWidget* w) {
        logIn(w, QStringLiteral("admin"), QStringLiteral("wrong"));
        // The focus arrives with the window's activation, which a loaded machine may deliver late.
        auto* password = w->findChild<QLineEdit*>(QStringLiteral("ed_passwort"));
        stayedOpen =
            QTest::qWaitFor([&] { return w->isVisible() && QApplication::focusWidget() == password; }, 5000);
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("btn_close")), Qt::LeftButton);
    });
    forms().main->show();
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 10000);
    QCOMPARE(messages_, QStringList{QStringLiteral("login failed !")});
    QVERIFY(stayedOpen);
    QVERIFY(!Session::Angemeldet);
    QVERIFY(!forms().main->isVisible());
    QCOMPARE(forms().anmeldungfirst->findChild<QPushButton*>(QStringLiteral("btn_close"))->text(),
             QStringLiteral("&Close"));
    QCOMPARE(forms().anmeldungfirst->btn_anmelden->text(), QStringLiteral("OK"));
    QCOMPARE(forms().anmeldung->btn_anmelden->text(), QStringLiteral("&OK"));
}

void TestMainWindow::onlyASuccessfulLoginIsRemembered()
{
    const auto remembered = [] {
        return UserSettings::value(QStringLiteral("LOGIN"), QStringLiteral("lu_user"));
    };
    requireLogin();
    onModal([](QWidget* w) { logIn(w, QStringLiteral("admin"), QStringLiteral("admin")); });
    showMain();
    QVERIFY(Session::Angemeldet);
    QCOMPARE(remembered().toString(), QStringLiteral("admin"));

    // An employee mistypes and gives up: the administrator's name stays the one proposed.
    onModal([](QWidget* w) {
        logIn(w, QStringLiteral("Ben"), QStringLiteral("wrong"));
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("btn_close")), Qt::LeftButton);
    });
    action(QStringLiteral("mnu_neuanmeldung"))->trigger();
    QCOMPARE(messages_, QStringList{QStringLiteral("login failed !")});
    QCOMPARE(remembered().toString(), QStringLiteral("admin"));
    QString proposed;
    onModal([&](QWidget* w) {
        proposed = w->findChild<QComboBox*>(QStringLiteral("lu_user"))->currentText();
        w->close(); // the close box, without trying
    });
    forms().anmeldungfirst->showModal();
    QCOMPARE(proposed, QStringLiteral("admin"));
    QCOMPARE(remembered().toString(), QStringLiteral("admin"));

    // A successful log-in is what is remembered.
    onModal([](QWidget* w) { logIn(w, QStringLiteral("Ben"), QStringLiteral("ben")); });
    action(QStringLiteral("mnu_neuanmeldung"))->trigger();
    QCOMPARE(Session::Benutzertyp, QStringLiteral("Employee"));
    QCOMPARE(remembered().toString(), QStringLiteral("Ben"));
}

void TestMainWindow::emptyCurrencyShowsUsDollar()
{
    QVERIFY(Registry::setValue(QStringLiteral("Waehrung"), QString()));
    showMain();
    QCOMPARE(forms().abrechnung->lbl_abrechnen->text(), QStringLiteral("US$"));
    QCOMPARE(forms().abschluesse->lbl_summew->text(), QStringLiteral("US$"));
    QCOMPARE(forms().alleabschluessereport->lbl_summew->text(), QStringLiteral("US$"));
    QCOMPARE(forms().tagesabrechnung->lbl_summew->text(), QStringLiteral("US$"));
    QCOMPARE(Session::Nachkommafaktor, 100);
    QCOMPARE(Help::helpFile(), QStringLiteral("Courtoria.hlp"));
}

void TestMainWindow::storeErrorEndsTheSteps()
{
    const double old = DayCount::today() - 100;
    TestInstallation::exec(QStringLiteral("insert into Aktivitaet (Aufzeichnung) values (?)"), {old});
    execUnprepared(QStringLiteral("drop table Kartenleser"));
    showMain();
    QCOMPARE(messages_.size(), 1);
    QVERIFY2(messages_.first().contains(QStringLiteral("Kartenleser")), qPrintable(messages_.first()));
    // The steps after the failing one did not run; the program runs on.
    QCOMPARE(TestInstallation::scalar(QStringLiteral("select count(*) from Aktivitaet")).toInt(), 1);
    QVERIFY(forms().main->isVisible());
}

void TestMainWindow::storeErrorBeforeTheLogInKeepsTheCommandsLocked_data()
{
    QTest::addColumn<bool>("loginRequired");
    QTest::addColumn<QString>("drop"); // the table whose loss ends the steps
    QTest::addColumn<bool>("enabled");
    QTest::newRow("log-in required, card flags unreadable") << true << "Kartenleser" << false;
    QTest::newRow("log-in unreadable") << true << "Rechte" << false;
    QTest::newRow("no log-in required") << false << "Kartenleser" << true;
}

void TestMainWindow::storeErrorBeforeTheLogInKeepsTheCommandsLocked()
{
    QFETCH(bool, loginRequired);
    QFETCH(QString, drop);
    QFETCH(bool, enabled);
    if (loginRequired)
        requireLogin();
    execUnprepared(QStringLiteral("drop table ") + drop);
    showMain();
    QCOMPARE(messages_.size(), 1);
    QVERIFY(!forms().anmeldungfirst->isVisible());
    QVERIFY(forms().main->isVisible());
    for (const GovernedControl& c : governedControls)
        QVERIFY2(governedEnabled(c) == enabled, c.control);
    // A log-in stays possible, and one that succeeds opens the commands of its rights.
    QVERIFY(action(QStringLiteral("mnu_neuanmeldung"))->isEnabled());
    QVERIFY(button(QStringLiteral("btn_close"))->isEnabled());
    if (drop == QLatin1String("Rechte"))
        return;
    onModal([](QWidget* w) { logIn(w, QStringLiteral("admin"), QStringLiteral("admin")); });
    action(QStringLiteral("mnu_neuanmeldung"))->trigger();
    for (const GovernedControl& c : governedControls)
        QVERIFY2(governedEnabled(c), c.control);
}

void TestMainWindow::closingShowsTheAnimation()
{
    Tfrm_main::closingMilliseconds = 300;
    showMain();
    QSignalSpy ended(forms().main, &Tfrm_main::ended);
    forms().scheduler->showIndependent();
    QTest::mouseClick(button("btn_close"), Qt::LeftButton);
    QVERIFY(!forms().main->Image1->isVisible());
    QVERIFY(forms().main->an_close->isVisible());
    QCOMPARE(forms().main->lbl_closing->text(), QStringLiteral("CLOSING APPLICATION"));
    QVERIFY(forms().main->lbl_closing->isVisible());
    QVERIFY(!forms().scheduler); // released
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 5000);
    QVERIFY(!forms().main->isVisible());
}

void TestMainWindow::independentWindowOpensOnce()
{
    showMain();
    const int windows = QApplication::topLevelWidgets().size();
    button("btn_tische")->click();
    QVERIFY(QTest::qWaitForWindowExposed(forms().courts));
    forms().main->activateWindow();
    action("mnu_courts")->trigger();
    QVERIFY(forms().courts->isVisible());
    QCOMPARE(QApplication::topLevelWidgets().size(), windows);
    QTRY_COMPARE(QApplication::activeWindow(), forms().courts);
}

void TestMainWindow::helpAndAbout()
{
    Receiver receiver;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &receiver, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &receiver, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &receiver, "open");
    showMain();
    action("mnu_windowshelp")->trigger();
    QVERIFY(Help::viewer() && Help::viewer()->isVisible());
    action("mnu_browserhelp")->trigger();
    QCOMPARE(receiver.opened.size(), 1);
    QCOMPARE(receiver.opened.first().toLocalFile(),
             QCoreApplication::applicationDirPath() + QStringLiteral("/Help Browser/index.html"));

    Tfrm_about* about = forms().about;
    QCOMPARE(about->BitBtn1->text(), QStringLiteral("CLOSE"));
    QTest::mouseClick(about->lbl_email, Qt::LeftButton);
    QTest::mouseClick(about->lbl_homepage, Qt::LeftButton);
    QCOMPARE(receiver.opened.size(), 3);
    QCOMPARE(receiver.opened[1].toString(), QStringLiteral("mailto:") + about->lbl_email->text());
    QCOMPARE(receiver.opened[2].host(), about->lbl_homepage->text());
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));

    // The help viewer closes with the main window.
    WindowSet::destroyAll();
    QVERIFY(!Help::viewer());
    WindowSet::createMain();
    WindowSet::createObjects();
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
