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
#include "platform/messages.h"
#include "platform/registry.h"
#include "reservations/u_scheduler.h"
#include "testinstallation.h"
#include "ui/forms.h"
#include "ui/helpviewer.h"
#include "users/rightsmap.h"
#include "users/u_anmeldung.h"
#include "users/u_anmeldungfirst.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
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

namespace {

// Acts on the next modal window once it is open (a log-in blocks in its own event loop).
void onModal(std::function<void(QWidget*)> act)
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
}

void logIn(QWidget* window, const QString& user, const QString& password)
{
    window->findChild<QComboBox*>(QStringLiteral("lu_user"))->setEditText(user);
    window->findChild<QLineEdit*>(QStringLiteral("ed_passwort"))->setText(password);
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("btn_anmelden")), Qt::LeftButton);
}

QAction* action(const char* name)
{
    return forms().main->findChild<QAction*>(QLatin1String(name));
}
QToolButton* button(const char* name)
{
    return forms().main->findChild<QToolButton*>(QLatin1String(name));
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
    void windowsHaveTheirCaptions_data();
    void windowsHaveTheirCaptions();
    void menuCommands_data();
    void menuCommands();
    void toolBarButtons();
    void withoutLoginEveryCommandIsEnabled();
    void employeeWithoutCourtAdministration();
    void wrongPasswordThenClosingEndsTheProgram();
    void emptyCurrencyShowsUsDollar();
    void storeErrorEndsTheSteps();
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
    TestInstallation::exec(QStringLiteral("update Rechte set Login = 1 where Type = 'Administrator'"));
}

void TestMainWindow::loadingScreenFillsWithTheObjects()
{
    WindowSet::destroyAll();
    WindowSet::createMain();
    Tfrm_intro intro(WindowSet::objectCount);
    QCOMPARE(intro.windowTitle(), QStringLiteral("Welcome"));
    QCOMPARE(intro.pb_loading->minimum(), 0);
    QCOMPARE(intro.pb_loading->maximum(), 33);
    intro.step();
    QStringList order;
    WindowSet::createObjects([&] {
        intro.step();
        order << QString::number(intro.pb_loading->value());
    });
    QCOMPARE(intro.pb_loading->value(), intro.pb_loading->maximum());
    QVERIFY(forms().datasets && forms().abbruchfenster && forms().scheduler);
    // No window opened itself while it was created.
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible() || w == &intro, qPrintable(w->objectName()));
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

void TestMainWindow::menuCommands_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("menuCaption");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("caption");
    const char* const rows[][4] = {
        {"mnu_anmeldung", "&Login", "mnu_neuanmeldung", "&Login"},
        {"mnu_anmeldung", "&Login", "mnu_rechte", "&Userrights"},
        {"mnu_verwaltung", "&Administration", "mnu_courts", "&Courts"},
        {"mnu_verwaltung", "&Administration", "mnu_scheduler", "&Scheduler"},
        {"mnu_verwaltung", "&Administration", "mnu_abschluss", "&Daily account"},
        {"mnu_verwaltung", "&Administration", "mnu_abschluesse", "D&aily accounts overview"},
        {"mnu_stammdaten", "&Masterdatas", "mnu_mitglieder", "&Members"},
        {"mnu_stammdaten", "&Masterdatas", "mnu_kenngroessen", "&Parameters"},
        {"mnu_stammdaten", "&Masterdatas", "mnu_prices", "P&rices"},
        {"mnu_stammdaten", "&Masterdatas", "mnu_inventar", "&Stock"},
        {"mnu_stammdaten", "&Masterdatas", "mnu_laenderwahl", "&Set currency"},
        {"mnu_stammdaten", "&Masterdatas", "mnu_tischfarben", "&Courtcolor && picture"},
        {"mnu_stammdaten", "&Masterdatas", "mnu_zip", "&Save && restore database"},
        {"mnu_stammdaten", "&Masterdatas", "mnu_namensliste", "&List of names"},
        {"mnu_stammdaten", "&Masterdatas", "mnu_activities", "&Watch activities"},
        {"mnu_lichtsteuerung", "Lig&hts ", "mnu_tischlichtsteuerung", "&Switch courts"},
        {"mnu_lichtsteuerung", "Lig&hts ", "mnu_sonstigeschalter", "S&witch groups"},
        {"mnu_lichtsteuerung", "Lig&hts ", "mnu_schalttafel", "Sw&itchpanel"},
        {"mnu_sprache", "&Cardreader", "mnu_kartenleser", "&Card reader-writer"},
        {"mnu_statistiken", "&Statistic", "mnu_tischstatistik", "&Courtstatistic"},
        {"mnu_hilfe", "&Help", "mnu_windowshelp", "show He&lp "},
        {"mnu_hilfe", "&Help", "mnu_browserhelp", "&show Help by Browser"},
        {"mnu_hilfe", "&Help", "Aboutus1", "&About us"},
    };
    for (const auto& r : rows)
        QTest::newRow(r[2]) << QString::fromUtf8(r[0]) << QString::fromUtf8(r[1]) << QString::fromUtf8(r[2])
                            << QString::fromUtf8(r[3]);
}

void TestMainWindow::menuCommands()
{
    QFETCH(QString, menu);
    QFETCH(QString, menuCaption);
    QFETCH(QString, item);
    QFETCH(QString, caption);
    auto* m = forms().main->menuBar()->findChild<QMenu*>(menu);
    QVERIFY(m);
    QCOMPARE(m->title(), menuCaption);
    QAction* a = nullptr;
    for (QAction* candidate : m->actions())
        if (candidate->objectName() == item)
            a = candidate;
    QVERIFY2(a, "not in its menu");
    QCOMPARE(a->text(), caption);
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

void TestMainWindow::withoutLoginEveryCommandIsEnabled()
{
    // Whatever an earlier session left: a start without log-in enables everything.
    for (const auto& c : RightsMap::controls())
        if (QWidget* w = Forms::window(c.window))
            if (auto* a = w->findChild<QAction*>(c.control))
                a->setEnabled(false);
    showMain();
    QVERIFY(!forms().anmeldungfirst->isVisible());
    QCOMPARE(Session::Benutzertyp, QStringLiteral("Administrator"));
    for (QAction* a :
         forms().main->findChildren<QAction*>(QRegularExpression(QStringLiteral("^(mnu_|Aboutus1)"))))
        QVERIFY2(a->isEnabled(), qPrintable(a->objectName()));
    for (QToolButton* b :
         forms().main->findChildren<QToolButton*>(QRegularExpression(QStringLiteral("^btn_"))))
        QVERIFY2(b->isEnabled(), qPrintable(b->objectName()));
    QVERIFY(forms().courts->mnu_prices->isEnabled());
    QVERIFY(forms().courts->mnu_parameters->isEnabled());
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
    for (const char* off :
         {"mnu_courts", "mnu_scheduler", "mnu_schalttafel", "mnu_rechte", "mnu_kenngroessen"})
        QVERIFY2(!action(off)->isEnabled(), off);
    QVERIFY(!button("btn_tische")->isEnabled());
    QVERIFY(!button("btn_scheduler")->isEnabled());
    QVERIFY(!forms().courts->mnu_prices->isEnabled());
    QVERIFY(!forms().courts->mnu_parameters->isEnabled());
    for (const char* on :
         {"mnu_neuanmeldung", "mnu_windowshelp", "mnu_browserhelp", "Aboutus1", "mnu_mitglieder"})
        QVERIFY2(action(on)->isEnabled(), on);
    QVERIFY(button("btn_close")->isEnabled());
    QVERIFY(button("btn_stock")->isEnabled());
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
    action("mnu_neuanmeldung")->trigger();
    QVERIFY(forms().courts->isVisible());
    QCOMPARE(Session::Benutzertyp, QStringLiteral("Administrator"));
    for (const auto& c : RightsMap::controls()) {
        QWidget* w = Forms::window(c.window);
        auto* a = w->findChild<QAction*>(c.control);
        auto* b = w->findChild<QToolButton*>(c.control);
        QVERIFY2((a && a->isEnabled()) || (b && b->isEnabled()), qPrintable(c.control));
    }
}

void TestMainWindow::wrongPasswordThenClosingEndsTheProgram()
{
    requireLogin();
    QSignalSpy ended(forms().main, &Tfrm_main::ended);
    bool stayedOpen = false;
    onModal([&](QWidget* w) {
        logIn(w, QStringLiteral("admin"), QStringLiteral("wrong"));
        stayedOpen = w->isVisible() &&
                     QApplication::focusWidget() == w->findChild<QLineEdit*>(QStringLiteral("ed_passwort"));
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
    TestInstallation::exec(QStringLiteral("drop table Kartenleser"));
    showMain();
    QCOMPARE(messages_.size(), 1);
    QVERIFY2(messages_.first().contains(QStringLiteral("Kartenleser")), qPrintable(messages_.first()));
    // The steps after the failing one did not run; the program runs on.
    QCOMPARE(TestInstallation::scalar(QStringLiteral("select count(*) from Aktivitaet")).toInt(), 1);
    QVERIFY(forms().main->isVisible());
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
