#include "answers.h"
#include "courts/courtplan.h"
#include "courts/courtrecords.h"
#include "courts/tcourt.h"
#include "courts/u_courts.h"
#include "courts/u_preissetzen.h"
#include "courts/u_tischerzeugen.h"
#include "courts/u_tischfarben.h"
#include "data/daycount.h"
#include "data/recordset.h"
#include "data/session.h"
#include "data/store.h"
#include "data/storedcolour.h"
#include "lights/relaylink.h"
#include "lights/relays.h"
#include "racingdesk.h"
#include "refusingtrigger.h"
#include "relayinstallation.h"
#include "testinstallation.h"
#include "testserver.h"
#include "ui/fieldform.h"
#include "ui/forms.h"
#include "ui/recordgrid.h"
#include "ui/recordnavigator.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

#include <optional>

Q_DECLARE_METATYPE(Engine)

namespace {

const QDate day(2026, 12, 10);

double at(int hour, int minute)
{
    return DayCount::fromDateTime(QDateTime(day, QTime(hour, minute)));
}

// One reservation's rows on a court: from the quarter at `hour`:`minute`, `quarters` long.
void book(int number, int court, int hour, int minute, int quarters, bool paid = false)
{
    for (int q = 0; q < quarters; ++q) {
        const int slot = hour * 4 + minute / 15 + q;
        TestInstallation::exec(
            "insert into Reservierung (Reservierungsnummer, Datum, Stunde, Viertelstunde, Platz, "
            "Reservierer, Mitgliedsnummer, Prozente, Bezahlt) values (?, ?, ?, ?, ?, 'Miller', -17, 0, ?)",
            {number, DayCount::fromDate(day), slot / 4 + 1, slot % 4 + 1, court, paid});
    }
}

void addCourt(int court, int typNr, int x = 0, int y = 0, QVariant anschluss = {})
{
    TestInstallation::exec(
        "insert into Tische (Tischnummer, Aktiv, Startzeit, Stopzeit, \"Summe Laufzeit\", XPosition, "
        "YPosition, TypNr, Abrechnungsart, Anschluss) values (?, false, 0, 0, 0, ?, ?, ?, 0, ?)",
        {court, x, y, typNr, anschluss});
}

int rows(const QString& sql)
{
    return TestInstallation::scalar(sql).toInt();
}

void moveMouse(QWidget* widget, QPoint to, Qt::MouseButtons buttons)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(to), widget->mapToGlobal(QPointF(to)), Qt::NoButton, buttons,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

} // namespace

class TestCourts : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void tileTimes_data();
    void tileTimes();
    void planShowsMarkersAndAddsOnlyMissingTiles();
    void clampKeepsTilesOnTheFloor_data();
    void clampKeepsTilesOnTheFloor();
    void draggingFollowsTheMouseUnlessFixed();
    void placesAreStoredWhenFixedAndOnClosing();
    void courtOfADeletedTypeIsUnknown();
    void lightSwitchesOnlyACourtWithAnOutput();
    void newCourtInputsAreChecked_data();
    void newCourtInputsAreChecked();
    void newCourtAppearsAtOnceAndAnExistingOneIsRefused();
    void destroyingACourtRemovesItsReservationsOfEveryDay();
    void destroyAnsweredNoKeepsEverything();
    void failedDestroyKeepsCourtAndReservations();
    void newTypeIsNumberedAndPaintsBlack_data();
    void newTypeIsNumberedAndPaintsBlack();
    void newTypeTakesTheNextNumberWhenAnotherDeskTookIt_data();
    void newTypeTakesTheNextNumberWhenAnotherDeskTookIt();
    void hourlyPriceShowsAsStored();
    void reservedColoursAreRefused_data();
    void reservedColoursAreRefused();
    void okRebuildsTilesFromTheirStoredPlaces();
    void everyControlOfThePlanIsNamedForAScreenReader();

private:
    // A fresh installation with courts 1 and 2 of type 1 and court 3 of type 2: on the engine, or
    // where test installations go by default.
    void install(std::optional<Engine> engine = std::nullopt);
    // The court type cases run on both engines: a row naming the server puts the installation
    // there. False when this run has no server.
    bool installOnTheRowsEngine();

    std::unique_ptr<TestInstallation> installation;
    std::unique_ptr<Answers> answers;
};

void TestCourts::install(std::optional<Engine> engine)
{
    installation.reset();
    installation =
        engine ? std::make_unique<TestInstallation>(*engine) : std::make_unique<TestInstallation>();
    QVERIFY2(installation->isValid(), qPrintable(installation->failure()));
    for (int court : {1, 2, 3})
        addCourt(court, court == 3 ? 2 : 1, 10 + 120 * court, 20);
}

bool TestCourts::installOnTheRowsEngine()
{
    QFETCH(Engine, engine);
    if (engine == installation->engine())
        return true;
    if (engine == Engine::PostgreSQL && !TestDatabase::serverAvailable())
        return false;
    install(engine);
    return true;
}

void TestCourts::init()
{
    answers = std::make_unique<Answers>();
    install();
}

void TestCourts::cleanup()
{
    answers.reset();
    installation.reset();
}

void TestCourts::tileTimes_data()
{
    QTest::addColumn<int>("court");
    QTest::addColumn<double>("now");
    QTest::addColumn<bool>("players");
    QTest::addColumn<bool>("notCalculated");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("running");
    // Reservation 1: court 1, 14:00-15:00. 2: court 2, 17:00-18:00. 3: courts 2 from 18:00 and 3
    // from 18:30. 4: court 1, 10:00-11:00 and 15:00-16:00. 5: court 3, 08:00-09:00, paid.
    QTest::newRow("played at 14:07") << 1 << at(14, 7) << true << false << "02:00p"
                                     << "00:07";
    QTest::newRow("not played before") << 1 << at(13, 59) << false << false << "00:00"
                                       << "00:00";
    QTest::newRow("last quarter still ends after now") << 2 << at(17, 59) << true << false << "05:00p"
                                                       << "00:59";
    QTest::newRow("ended at 18:00, unbilled") << 2 << at(18, 0) << true << true << "06:00p"
                                              << "00:00";
    QTest::newRow("second court of one reservation") << 3 << at(18, 40) << true << false << "06:00p"
                                                     << "00:40";
    QTest::newRow("two parts of one reservation") << 1 << at(15, 30) << true << true << "10:00a"
                                                  << "05:30";
    QTest::newRow("paid rows count for nothing") << 3 << at(8, 30) << false << false << "00:00"
                                                 << "00:00";
}

void TestCourts::tileTimes()
{
    QFETCH(int, court);
    QFETCH(double, now);
    book(1, 1, 14, 0, 4);
    book(2, 2, 17, 0, 4);
    book(3, 2, 18, 0, 4);
    book(3, 3, 18, 30, 2);
    book(4, 1, 10, 0, 4);
    book(4, 1, 15, 0, 4);
    book(5, 3, 8, 0, 4, true);
    CourtPlan::CourtStateQueries states;
    const CourtPlan::TileTimes times = states.tileTimes(court, now);
    QTEST(times.players, "players");
    QTEST(times.notCalculated, "notCalculated");
    QTEST(times.start, "start");
    QTEST(times.running, "running");
}

void TestCourts::planShowsMarkersAndAddsOnlyMissingTiles()
{
    book(1, 1, 14, 0, 4);
    book(2, 2, 6, 0, 2);
    DayCount::setCurrentMoment(QDateTime(day, QTime(14, 7)));
    Tfrm_courts plan;
    plan.cb_max->setChecked(false);
    plan.show();
    tcourt* one = plan.tile(1);
    QVERIFY(one);
    QCOMPARE(one->pos(), QPoint(130, 20));
    QCOMPARE(one->size(), QSize(CourtPlan::tileWidth, CourtPlan::tileHeight));
    QVERIFY(one->pnl_players->isVisibleTo(one));
    QVERIFY(!one->pnl_notcalc->isVisibleTo(one));
    QCOMPARE(one->pnl_players->geometry(), QRect(93, 77, 11, 12));
    QCOMPARE(one->lbl_startzeit->text(), QStringLiteral("02:00p"));
    QCOMPARE(one->lbl_laufzeit->text(), QStringLiteral("00:07"));
    QCOMPARE(one->lbl_courtconst->text(), QStringLiteral("Tennis"));
    QCOMPARE(one->lbl_courtnummer->text(), QStringLiteral("1"));
    tcourt* two = plan.tile(2);
    QVERIFY(two->pnl_notcalc->isVisibleTo(two));
    QVERIFY(!two->pnl_players->isVisibleTo(two));
    QCOMPARE(two->pnl_notcalc->geometry(), QRect(78, 77, 11, 12));
    QCOMPARE(plan.tile(3)->lbl_courtconst->text(), QStringLiteral("Squash"));
    QVERIFY(!plan.tile(3)->imagecourt->pixmap().isNull());
    // A screen reader hears the markers the screen shows as colours.
    QVERIFY(QAccessible::queryAccessibleInterface(one)
                ->text(QAccessible::Name)
                .contains(QStringLiteral("players on court since 02:00p")));

    // Showing again keeps the tiles there and adds only a new court's.
    plan.hide();
    addCourt(4, 1, 500, 300);
    plan.show();
    QCOMPARE(plan.tile(1), one);
    QVERIFY(plan.tile(4));
    QCOMPARE(plan.tile(4)->pos(), QPoint(500, 300));
    QVERIFY(answers->asked.isEmpty());
    DayCount::setCurrentMoment(QDateTime::currentDateTime());
}

void TestCourts::clampKeepsTilesOnTheFloor_data()
{
    QTest::addColumn<QPoint>("wanted");
    QTest::addColumn<QPoint>("kept");
    QTest::newRow("inside") << QPoint(100, 100) << QPoint(100, 100);
    QTest::newRow("past the left and top") << QPoint(-5, -9) << QPoint(0, 0);
    QTest::newRow("past the right edge") << QPoint(700, 100) << QPoint(800 - 226, 100);
    QTest::newRow("past the bottom") << QPoint(10, 590) << QPoint(10, 600 - 160);
}

void TestCourts::clampKeepsTilesOnTheFloor()
{
    QFETCH(QPoint, wanted);
    QTEST(CourtPlan::clampTile(wanted, QSize(800, 600)), "kept");
}

void TestCourts::draggingFollowsTheMouseUnlessFixed()
{
    Tfrm_courts plan;
    plan.cb_max->setChecked(false);
    plan.cb_fix->setChecked(false);
    plan.resize(800, 600);
    plan.show();
    tcourt* one = plan.tile(1);
    // A move over a tile names its court; the floor beneath must not hear of it and forget it.
    moveMouse(one, QPoint(20, 20), Qt::NoButton);
    QCOMPARE(plan.ed_courtnummer->text(), QStringLiteral("1"));
    QTest::mousePress(one, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    moveMouse(one, QPoint(40, 30), Qt::LeftButton);
    QCOMPARE(plan.ed_courtnummer->text(), QStringLiteral("1"));
    QCOMPARE(one->pos(), QPoint(160, 40));
    moveMouse(one, QPoint(2000, 10), Qt::LeftButton);
    QCOMPARE(one->x(), plan.width() - 226);
    QTest::mouseRelease(one, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));

    // Over the floor the court is forgotten, unless the left button alone is held.
    moveMouse(plan.floor(), QPoint(5, 5), Qt::LeftButton);
    QCOMPARE(plan.ed_courtnummer->text(), QStringLiteral("1"));
    moveMouse(plan.floor(), QPoint(5, 5), Qt::NoButton);
    QVERIFY(plan.ed_courtnummer->text().isEmpty());

    plan.cb_fix->setChecked(true);
    const QPoint fixed = one->pos();
    QTest::mousePress(one, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    moveMouse(one, QPoint(60, 60), Qt::LeftButton);
    QCOMPARE(one->pos(), fixed);
}

void TestCourts::placesAreStoredWhenFixedAndOnClosing()
{
    Tfrm_courts plan;
    plan.cb_max->setChecked(false);
    plan.cb_fix->setChecked(false);
    plan.show();
    plan.tile(1)->move(33, 44);
    plan.cb_fix->setChecked(true);
    QCOMPARE(rows("select XPosition * 1000 + YPosition from Tische where Tischnummer = 1"), 33044);
    plan.cb_fix->setChecked(false);
    plan.tile(2)->move(55, 66);
    QCOMPARE(rows("select XPosition * 1000 + YPosition from Tische where Tischnummer = 2"), 250020);
    plan.close();
    QCOMPARE(rows("select XPosition * 1000 + YPosition from Tische where Tischnummer = 2"), 55066);
}

void TestCourts::courtOfADeletedTypeIsUnknown()
{
    TestInstallation::exec("delete from Tischfarben where TypNr = 2");
    Tfrm_courts plan;
    plan.cb_max->setChecked(false);
    plan.show();
    QCOMPARE(answers->asked, QStringList{QStringLiteral("courtcolor is not defined!")});
    tcourt* three = plan.tile(3);
    QCOMPARE(three->lbl_courtconst->text(), QStringLiteral("unknown"));
    QCOMPARE(three->colour(), CourtPlan::defaultTileColour);
    // Its picture stays that of the type found last: court 2's tennis court.
    QCOMPARE(three->imagecourt->pixmap().cacheKey(), plan.tile(2)->imagecourt->pixmap().cacheKey());
}

void TestCourts::lightSwitchesOnlyACourtWithAnOutput()
{
    answers.reset();
    installation.reset();
    RelayInstallation relays;
    QVERIFY(relays.isValid());
    addCourt(1, 1, 0, 0, 3);
    addCourt(2, 1);
    Relays::link().open(0);
    CourtPlan::switchLight(QStringLiteral("2"), true);
    CourtPlan::switchLight(QStringLiteral(""), true);
    CourtPlan::switchLight(QStringLiteral("x"), true);
    QTest::qWait(100);
    QVERIFY(relays.line.values().empty());
    CourtPlan::switchLight(QStringLiteral("1"), true);
    QTRY_COMPARE(relays.line.values(), (std::vector<unsigned char>{0x1B, 1, 0x40, 0x04, 0}));
}

void TestCourts::newCourtInputsAreChecked_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("message");
    QTest::newRow("no type") << ""
                             << "5"
                             << "you must select a courttype !";
    QTest::newRow("13") << "Tennis"
                        << "13"
                        << "only the courtnumbers 1-12 are allowed !";
    QTest::newRow("x") << "Tennis"
                       << "x"
                       << "input a regular courtnumber";
    QTest::newRow("0") << "Tennis"
                       << "0"
                       << "only the courtnumbers 1-12 are allowed !";
}

void TestCourts::newCourtInputsAreChecked()
{
    QFETCH(QString, type);
    QFETCH(QString, number);
    Tfrm_tischerzeugen dialog;
    dialog.show();
    dialog.dlcb_tischtypen->setCurrentIndex(dialog.dlcb_tischtypen->findText(type));
    dialog.ed_tischnummer->setText(number);
    dialog.btn_neuertischClick();
    QCOMPARE(answers->asked.size(), 1);
    QTEST(answers->asked.first(), "message");
    QCOMPARE(rows("select count(*) from Tische"), 3);
}

void TestCourts::newCourtAppearsAtOnceAndAnExistingOneIsRefused()
{
    Tfrm_courts plan;
    forms().courts = &plan;
    plan.cb_max->setChecked(false);
    plan.show();
    Tfrm_tischerzeugen dialog;
    dialog.show();
    QCOMPARE(dialog.dlcb_tischtypen->currentIndex(), -1);
    dialog.dlcb_tischtypen->setCurrentIndex(dialog.dlcb_tischtypen->findText(QStringLiteral("Squash")));
    dialog.ed_tischnummer->setText(QStringLiteral("5"));
    dialog.btn_neuertischClick();
    QVERIFY(answers->asked.isEmpty());
    tcourt* five = plan.tile(5);
    QVERIFY(five);
    QCOMPARE(five->pos(), QPoint(7, 78));
    QCOMPARE(five->lbl_courtconst->text(), QStringLiteral("Squash"));
    QCOMPARE(five->colour(), colourFromStored(0x00B48246));
    QCOMPARE(
        rows("select TypNr * 100 + XPosition + YPosition + case when Aktiv then 1 else 0 end from Tische "
             "where Tischnummer = 5"),
        200);

    dialog.btn_neuertischClick();
    QCOMPARE(answers->asked.size(), 2);
    QCOMPARE(answers->asked.first(), QStringLiteral("court could not be installed !"));
    QVERIFY(answers->asked.last().startsWith(QStringLiteral("Key violation")));
    QCOMPARE(plan.tile(5), five);
    QCOMPARE(rows("select count(*) from Tische"), 4);
    forms().courts = nullptr;
}

void TestCourts::destroyingACourtRemovesItsReservationsOfEveryDay()
{
    book(1, 3, 8, 0, 4, true);
    book(2, 2, 9, 0, 2);
    TestInstallation::exec("update Reservierung set Datum = Datum - 40 where Reservierungsnummer = 1");
    book(3, 3, 20, 0, 2);
    TestInstallation::exec("update Reservierung set Datum = Datum + 300 where Reservierungsnummer = 3");
    Tfrm_courts plan;
    plan.cb_max->setChecked(false);
    plan.show();
    answers->answer = Messages::Answer::Yes;
    plan.ed_courtnummer->setText(QStringLiteral("3"));
    plan.mnu_deletecourtClick();
    QCOMPARE(answers->asked, QStringList{QStringLiteral("destroying court and its reservations?")});
    QCOMPARE(rows("select count(*) from Reservierung where Platz = 3"), 0);
    QCOMPARE(rows("select count(*) from Reservierung"), 2);
    QCOMPARE(rows("select count(*) from Tische where Tischnummer = 3"), 0);
    QVERIFY(!plan.tile(3));
    QVERIFY(plan.ed_courtnummer->text().isEmpty());

    answers->asked.clear();
    plan.ed_courtnummer->setText(QStringLiteral("3"));
    plan.mnu_deletecourtClick();
    QCOMPARE(answers->asked, QStringList{QStringLiteral("could not find court !")});
    answers->asked.clear();
    plan.mnu_deletecourtClick();
    QCOMPARE(answers->asked, QStringList{QStringLiteral("Cannot destroy court !")});
}

void TestCourts::destroyAnsweredNoKeepsEverything()
{
    book(1, 2, 9, 0, 2);
    Tfrm_courts plan;
    plan.cb_max->setChecked(false);
    plan.show();
    plan.ed_courtnummer->setText(QStringLiteral("2"));
    plan.mnu_deletecourtClick();
    QCOMPARE(rows("select count(*) from Reservierung where Platz = 2"), 2);
    QVERIFY(plan.tile(2));
    QVERIFY(plan.ed_courtnummer->text().isEmpty());
}

void TestCourts::failedDestroyKeepsCourtAndReservations()
{
    book(1, 3, 8, 0, 4);
    // The court's row cannot go: its reservations must not go either.
    addRefusingTrigger("kept", "Tische", "delete", QString(), "court is in use");
    QVERIFY_THROWS_EXCEPTION(StoreError, CourtRecords::destroyCourt(3));
    QCOMPARE(rows("select count(*) from Reservierung where Platz = 3"), 4);
    QCOMPARE(rows("select count(*) from Tische where Tischnummer = 3"), 1);
}

void TestCourts::newTypeIsNumberedAndPaintsBlack_data()
{
    QTest::addColumn<Engine>("engine");
    QTest::newRow("SQLite") << Engine::SQLite;
    QTest::newRow("PostgreSQL") << Engine::PostgreSQL;
}

void TestCourts::newTypeIsNumberedAndPaintsBlack()
{
    if (!installOnTheRowsEngine())
        QSKIP("no test server (COURTORIA_TEST_SERVER)");
    QVERIFY(!QTest::currentTestFailed());
    TestInstallation::exec("update Tische set TypNr = 1");
    TestInstallation::exec("delete from Tischfarben");
    QCOMPARE(CourtRecords::nextTypNr(), 1);
    Tfrm_preissetzen prices;
    prices.show();
    prices.DBNavigator1->press(RecordNavigator::Insert);
    QCOMPARE(prices.tbl_tischtypen->field(QStringLiteral("TypNr")).asInteger(), 1);
    prices.tbl_tischtypen->setField(QStringLiteral("Tischtyp"), QStringLiteral("Padel"));
    prices.tbl_tischtypen->setField(QStringLiteral("Stundenpreis"), 30.0);
    prices.close();
    QCOMPARE(rows("select count(*) from Tischfarben where TypNr = 1 and Tischtyp = 'Padel'"), 1);
    QCOMPARE(CourtRecords::nextTypNr(), 2);

    const std::vector<CourtPlan::TileLook> looks = CourtPlan::tileLooks();
    QCOMPARE(looks.size(), std::size_t(3));
    QCOMPARE(looks.front().colour, QColor(Qt::black));
    QCOMPARE(looks.front().typeName, QStringLiteral("Padel"));
}

void TestCourts::newTypeTakesTheNextNumberWhenAnotherDeskTookIt_data()
{
    QTest::addColumn<Engine>("engine");
    QTest::addColumn<bool>("atOnce"); // the other desk's transaction still open as this one posts
    QTest::newRow("SQLite") << Engine::SQLite << false;
    QTest::newRow("PostgreSQL") << Engine::PostgreSQL << false;
    QTest::newRow("PostgreSQL, at the same moment") << Engine::PostgreSQL << true;
}

void TestCourts::newTypeTakesTheNextNumberWhenAnotherDeskTookIt()
{
    QFETCH(bool, atOnce);
    if (!installOnTheRowsEngine())
        QSKIP("no test server (COURTORIA_TEST_SERVER)");
    QVERIFY(!QTest::currentTestFailed());
    Tfrm_preissetzen prices;
    prices.show();
    prices.DBNavigator1->press(RecordNavigator::Insert);
    QCOMPARE(prices.tbl_tischtypen->field(QStringLiteral("TypNr")).asInteger(), 3);

    const QString other =
        "insert into Tischfarben (TypNr, Tischtyp, Stundenpreis) values (3, 'Table tennis', 12)";
    std::unique_ptr<RacingDesk> desk;
    if (atOnce) {
        desk = std::make_unique<RacingDesk>(installation->connectionString(), "court type",
                                            [other](QSqlDatabase& db) {
                                                QSqlQuery add(db);
                                                if (add.exec(other))
                                                    return true;
                                                qWarning("%s", qPrintable(add.lastError().text()));
                                                return false;
                                            });
        QTRY_VERIFY(desk->holding);
        QVERIFY(desk->worked);
    } else {
        TestInstallation::exec(other);
    }
    qobject_cast<QLineEdit*>(prices.typeFields->control(QStringLiteral("DBEdit2")))->setText("Padel");
    qobject_cast<QLineEdit*>(prices.typeFields->control(QStringLiteral("DBEdit1")))->setText("30");
    prices.DBNavigator1->press(RecordNavigator::Post);
    if (desk) {
        QTRY_VERIFY_WITH_TIMEOUT(desk->done, 15000);
        QVERIFY(desk->waited);
        QVERIFY(desk->committed);
    }
    QCOMPARE(answers->asked, QStringList());
    QCOMPARE(rows("select TypNr from Tischfarben where Tischtyp = 'Table tennis'"), 3);
    QCOMPARE(rows("select TypNr from Tischfarben where Tischtyp = 'Padel'"), 4);
    QCOMPARE(prices.tbl_tischtypen->state(), RecordSet::State::Browse);
    QCOMPARE(prices.tbl_tischtypen->field(QStringLiteral("TypNr")).asInteger(), 4);
}

void TestCourts::hourlyPriceShowsAsStored()
{
    // Whole money units on screen must not round the price in the grid: it reads as the receipt does.
    const auto restore =
        qScopeGuard([factor = Session::Nachkommafaktor] { Session::Nachkommafaktor = factor; });
    Session::Nachkommafaktor = 1;
    TestInstallation::exec("update Tischfarben set Stundenpreis = 0.5 where TypNr = 1");
    TestInstallation::exec("update Tischfarben set Stundenpreis = 1234567.891 where TypNr = 2");
    Tfrm_preissetzen prices;
    prices.show();
    const QAbstractItemModel* grid = prices.dgr_minutenpreis->model();
    QCOMPARE(grid->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Price per hour"));
    QCOMPARE(grid->data(grid->index(0, 1)).toString(), QStringLiteral("0.5"));
    QCOMPARE(grid->data(grid->index(1, 1)).toString(), QStringLiteral("1234567.891"));
    QCOMPARE(qobject_cast<QLineEdit*>(prices.typeFields->control(QStringLiteral("DBEdit1")))->text(),
             QStringLiteral("0.5"));
}

void TestCourts::reservedColoursAreRefused_data()
{
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<bool>("refused");
    QTest::newRow("pure red") << QColor(255, 0, 0) << true;
    QTest::newRow("pure yellow") << QColor(255, 255, 0) << true;
    QTest::newRow("red of 254") << QColor(254, 0, 0) << false;
    QTest::newRow("blue") << QColor(0, 0, 255) << false;
}

void TestCourts::reservedColoursAreRefused()
{
    QFETCH(QColor, colour);
    QFETCH(bool, refused);
    Tfrm_tischfarben colours;
    colours.cd_tischfarben = [colour](const QColor&) { return colour; };
    colours.show();
    const qint64 before =
        TestInstallation::scalar("select Tischfarbe from Tischfarben where TypNr = 1").toLongLong();
    colours.btn_tischfarbeClick();
    const qint64 after =
        TestInstallation::scalar("select Tischfarbe from Tischfarben where TypNr = 1").toLongLong();
    if (refused) {
        QCOMPARE(answers->asked, QStringList{QStringLiteral(
                                     "Red and yellow are reservated colors !\n\nSelect another one.")});
        QCOMPARE(after, before);
    } else {
        QVERIFY(answers->asked.isEmpty());
        QCOMPARE(after, storedColour(colour));
        QCOMPARE(colours.pnl_farbe->colour(), colour);
    }
}

void TestCourts::okRebuildsTilesFromTheirStoredPlaces()
{
    Tfrm_courts plan;
    forms().courts = &plan;
    plan.cb_max->setChecked(false);
    plan.cb_fix->setChecked(false);
    plan.show();
    plan.tile(1)->move(300, 300);
    Tfrm_tischfarben colours;
    colours.cd_tischfarben = [](const QColor&) { return QColor(10, 20, 30); };
    colours.show();
    colours.btn_tischfarbeClick();
    colours.btn_okClick();
    QVERIFY(plan.isVisible());
    QCOMPARE(plan.tile(1)->pos(), QPoint(130, 20));
    QCOMPARE(plan.tile(1)->colour(), QColor(10, 20, 30));
    QCOMPARE(plan.tile(3)->colour(), colourFromStored(0x00B48246));
    forms().courts = nullptr;
}

void TestCourts::everyControlOfThePlanIsNamedForAScreenReader()
{
    Tfrm_courts plan;
    plan.cb_max->setChecked(false);
    plan.show();
    const auto buttons = plan.findChildren<QAbstractButton*>();
    QVERIFY(buttons.size() >= 16);
    for (QAbstractButton* button : buttons) {
        QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(button);
        QVERIFY2(!spoken->text(QAccessible::Name).isEmpty(), qPrintable(button->objectName()));
    }
    QAccessibleInterface* tile = QAccessible::queryAccessibleInterface(plan.tile(3));
    QCOMPARE(tile->text(QAccessible::Name), QStringLiteral("Court 3, Squash"));
    QVERIFY(plan.tile(3)->focusPolicy() & Qt::TabFocus);
    QStringList entries;
    for (QAction* action : plan.pm_courts->actions())
        entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(entries, (QStringList{"calculate court", "-", "court reservations", "-",
                                   "price and courtdefinition", "-", "parameters", "-",
                                   "destroy court and its reservations", "-", "bulbon", "bulboff"}));
}

QTEST_MAIN(TestCourts)
#include "tst_courts.moc"
