#include "answers.h"
#include "app/liverefresh.h"
#include "app/sessionstart.h"
#include "billing/u_abrechnung.h"
#include "billing/u_tagesabrechnung.h"
#include "data/calculations.h"
#include "data/daycount.h"
#include "data/recordset.h"
#include "data/session.h"
#include "data/sqldialect.h"
#include "data/store.h"
#include "reservationdialog.h"
#include "reservations/lookupbox.h"
#include "reservations/quartergrid.h"
#include "reservations/u_reservieren.h"
#include "reservations/u_reservierungsliste.h"
#include "reservations/u_scheduler.h"
#include "testinstallation.h"
#include "testserver.h"
#include "ui/forms.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(Engine)

namespace {

// A Wednesday far from today, so that the demo's bookings stay out of the way.
const int wednesday = DayCount::fromDate(QDate(2031, 1, 1));

// The other desk: a connection of its own to the same tables, writing as a desk does, with the
// change told on its channel inside the same transaction where the tables are on a server.
class OtherDesk {
public:
    OtherDesk(Engine engine, const QString& conninfo)
        : engine_(engine)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QString::fromLatin1(dialect(engine).driver), name);
        if (engine == Engine::PostgreSQL)
            db.setConnectOptions(conninfo);
        else
            db.setDatabaseName(Store::databaseFile());
        if (!db.open())
            failure = db.lastError().text();
    }
    ~OtherDesk()
    {
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }

    // Books quarters "number court stunde viertel [paid]" of a day under one transaction; tells the
    // other desks unless told not to. False when the store refused.
    bool book(int day, const QStringList& rows, bool tell = true)
    {
        QList<QVariantList> values;
        for (const QString& row : rows) {
            const QStringList f = row.split(' ');
            values << QVariantList{f[0].toInt(), day,          f[1].toInt(),
                                   f[2].toInt(), f[3].toInt(), f.value(4) == QLatin1String("1")};
        }
        return write(
            "insert into Reservierung (Reservierungsnummer, Datum, Platz, Stunde, Viertelstunde, "
            "Bezahlt, Reservierer, Mitgliedsnummer, Prozente) values (?, ?, ?, ?, ?, ?, 'Other', -17, 0)",
            values, tell ? QStringList{"reservierung " + QString::number(day)} : QStringList());
    }
    // Writes an open bill line, as a bill at that desk does.
    bool billLine(int court, double betrag)
    {
        return write("insert into Tischabrechnung (Tischnummer, Einschreibdatum, Betrag, DrinksundSnacks, "
                     "Abgerechnet, Quaters, Reservierer) values (?, ?, ?, 0, false, 4, 'Other')",
                     {{court, DayCount::now(), betrag}}, {"abrechnung "});
    }
    // Changes the hall's money decimals, as the parameters window at that desk does.
    bool setDecimals(int decimals)
    {
        return write("update Kennzahlen set Nachkommastellen = ?", {{decimals}}, {"kennzahlen "});
    }
    // Marks a reservation paid, as a bill at that desk does.
    bool pay(int number)
    {
        return write("update Reservierung set Bezahlt = true where Reservierungsnummer = ?", {{number}},
                     {"reservierung ", "abrechnung "});
    }

    static inline const QString name = QStringLiteral("otherdesk");
    QString failure;

private:
    // Runs the statement once per row of values in one transaction and tells each change ("channel
    // payload") in it; all or nothing. False when the store refused, with its words in failure.
    bool write(const QString& sql, const QList<QVariantList>& rows, const QStringList& changes)
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        db.transaction();
        auto refused = [&](const QSqlQuery& query) {
            failure = query.lastError().text();
            db.rollback();
            return false;
        };
        for (const QVariantList& values : rows) {
            QSqlQuery statement(db);
            statement.prepare(sql);
            for (const QVariant& v : values)
                statement.addBindValue(v);
            if (!statement.exec())
                return refused(statement);
        }
        for (const QString& change : changes) {
            if (engine_ != Engine::PostgreSQL)
                break;
            const qsizetype space = change.indexOf(QLatin1Char(' '));
            QSqlQuery tell(db);
            tell.prepare("select pg_notify(?, ?)");
            tell.addBindValue(change.left(space));
            tell.addBindValue(change.mid(space + 1));
            if (!tell.exec())
                return refused(tell);
        }
        return db.commit();
    }

    Engine engine_;
};

} // namespace

class TestSeveralDesks : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void quarterBookedElsewhereIsNotSavedAgain_data();
    void quarterBookedElsewhereIsNotSavedAgain();
    void bookingElsewhereShowsInTheOpenWindows();
    void billElsewhereLeavesTheBillingList();
    void billElsewhereJoinsTheOpenDailyAccount();
    void moneyDecimalsChangedElsewhereRoundHere();

private:
    // Puts the store on the engine of the test's row with a demo installation and shows the
    // scheduler on the week of `wednesday`. False when skipped or failed.
    bool installOn(Engine engine);
    void showDialog(int column, int hour);
    void click(int hour, int court, int quarter);

    std::unique_ptr<TestInstallation> installation;
    std::unique_ptr<Tfrm_scheduler> scheduler;
    std::unique_ptr<Tfrm_reservieren> dialog;
    std::unique_ptr<OtherDesk> other;
};

#define INSTALL_ON(engine)                                                                                   \
    if (!installOn(engine))                                                                                  \
    return

bool TestSeveralDesks::installOn(Engine engine)
{
    if (engine == Engine::PostgreSQL && !TestDatabase::serverAvailable()) {
        QTest::qSkip("no test server (COURTORIA_TEST_SERVER)", __FILE__, __LINE__);
        return false;
    }
    installation = std::make_unique<TestInstallation>(engine, true);
    if (!installation->isValid()) {
        QTest::qFail(qPrintable(installation->failure()), __FILE__, __LINE__);
        return false;
    }
    other = std::make_unique<OtherDesk>(engine, installation->connectionString());
    if (!other->failure.isEmpty()) {
        QTest::qFail(qPrintable(other->failure), __FILE__, __LINE__);
        return false;
    }
    scheduler = std::make_unique<Tfrm_scheduler>();
    dialog = std::make_unique<Tfrm_reservieren>();
    forms().scheduler = scheduler.get();
    forms().reservieren = dialog.get();
    scheduler->cb_max->setChecked(false);
    scheduler->show();
    if (!QTest::qWaitForWindowExposed(scheduler.get()))
        return false;
    scheduler->dp_datum->setDate(DayCount::toDate(wednesday));
    scheduler->dp_datumCloseUp();
    return true;
}

void TestSeveralDesks::init() {}

void TestSeveralDesks::cleanup()
{
    forms() = Forms{};
    dialog.reset();
    scheduler.reset();
    other.reset();
    installation.reset();
}

void TestSeveralDesks::showDialog(int column, int hour)
{
    QVERIFY(ReservationDialog::show(dialog.get(), column, hour));
}

void TestSeveralDesks::click(int hour, int court, int quarter)
{
    ReservationDialog::click(dialog.get(), hour, court, quarter);
}

void TestSeveralDesks::quarterBookedElsewhereIsNotSavedAgain_data()
{
    QTest::addColumn<Engine>("engine");
    QTest::newRow("SQLite") << Engine::SQLite;
    QTest::newRow("PostgreSQL") << Engine::PostgreSQL;
}

void TestSeveralDesks::quarterBookedElsewhereIsNotSavedAgain()
{
    QFETCH(Engine, engine);
    INSTALL_ON(engine);
    showDialog(1, 10);
    click(10, 1, 1);
    click(10, 1, 2);
    click(10, 2, 4);
    // Booked at the other desk without a word to this one: only the quarter key stands between.
    QVERIFY2(other->book(wednesday, {"9001 1 10 2"}, false), qPrintable(other->failure));
    dialog->ed_name->setEditText("Smith");
    Answers answers;
    QTest::mouseClick(dialog->BitBtn2, Qt::LeftButton);
    QCOMPARE(answers.asked, QStringList{"Quater already reserved !"});
    QVERIFY(dialog->isVisible());
    QCOMPARE(
        TestInstallation::scalar("select count(*) from Reservierung where Reservierer = 'Smith'").toInt(), 0);
    // The quarter taken shows booked; the desk's other marks stay for a second try.
    const Tplatzviertelstunde& taken = dialog->grid()->cell(1, 10).quarter(1, 2);
    QCOMPARE(taken.belegung, taken.basis);
    QVERIFY(taken.belegung != Belegung::frei && taken.belegung != Belegung::gewaehlt);
    QCOMPARE(dialog->grid()->cell(1, 10).quarter(1, 1).belegung, Belegung::gewaehlt);
    QCOMPARE(dialog->grid()->cell(1, 10).quarter(2, 4).belegung, Belegung::gewaehlt);
    QTest::mouseClick(dialog->BitBtn2, Qt::LeftButton);
    QCOMPARE(answers.asked.size(), 1);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(TestInstallation::scalar("select count(*) from Reservierung where Reservierer = 'Smith' and "
                                      "Datum = ? and ((Platz = 1 and Viertelstunde = 1) or (Platz = 2 and "
                                      "Viertelstunde = 4)) and Stunde = 10",
                                      {wednesday})
                 .toInt(),
             2);
}

void TestSeveralDesks::bookingElsewhereShowsInTheOpenWindows()
{
    INSTALL_ON(Engine::PostgreSQL);
    LiveRefresh refresh;
    Tfrm_reservierungsliste list;
    forms().reservierungsliste = &list;
    list.showFor(DayCount::toDate(wednesday), -1);
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QCOMPARE(list.lines()->lines().size(), 0);
    showDialog(1, 11);
    click(11, 2, 1);
    click(11, 2, 2);
    QVERIFY2(other->book(wednesday, {"9002 2 11 1", "9002 2 11 2", "9003 3 12 1"}),
             qPrintable(other->failure));
    // Under the desk's eyes the marked quarters turn booked, the scheduler and the list follow.
    QTRY_VERIFY_WITH_TIMEOUT(dialog->grid()->cell(1, 11).quarter(2, 1).belegung != Belegung::gewaehlt, 5000);
    QVERIFY(dialog->grid()->cell(1, 11).quarter(2, 2).belegung != Belegung::gewaehlt);
    QVERIFY(dialog->grid()->cell(1, 11).quarter(2, 2).belegung != Belegung::frei);
    QTRY_VERIFY_WITH_TIMEOUT(scheduler->grid()->cell(1, 12).quarter(3, 1).belegung != Belegung::frei, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(list.lines()->lines().size(), 2, 5000);
    // Another day's booking leaves the day column of the dialog as it is.
    click(11, 4, 1);
    QVERIFY(other->book(wednesday + 10, {"9004 4 11 1"}));
    QVERIFY(other->book(wednesday, {"9005 5 13 1"}));
    QTRY_VERIFY_WITH_TIMEOUT(dialog->grid()->cell(1, 13).quarter(5, 1).belegung != Belegung::frei, 5000);
    QCOMPARE(dialog->grid()->cell(1, 11).quarter(4, 1).belegung, Belegung::gewaehlt);
    forms().reservierungsliste = nullptr;
}

void TestSeveralDesks::billElsewhereLeavesTheBillingList()
{
    INSTALL_ON(Engine::PostgreSQL);
    LiveRefresh refresh;
    const int today = DayCount::today();
    TestInstallation::exec("delete from Reservierung where Platz = 12 and Datum = ?", {today});
    QVERIFY(other->book(today, {"9101 12 1 1", "9102 12 2 1", "9103 12 3 1"}));
    Tfrm_abrechnung billing;
    forms().abrechnung = &billing;
    billing.ed_court->setText("12");
    billing.show();
    QVERIFY(QTest::qWaitForWindowExposed(&billing));
    QCOMPARE(billing.gr_spieler->rowCount(), 3);
    billing.gr_spieler->selectRow(2);
    const QString chosen = billing.gr_spieler->item(2, 1)->text();
    QVERIFY(other->pay(9101));
    QTRY_COMPARE_WITH_TIMEOUT(billing.gr_spieler->rowCount(), 2, 5000);
    // The line in hand stays chosen in its new place.
    QCOMPARE(billing.gr_spieler->currentRow(), 1);
    QCOMPARE(billing.gr_spieler->item(1, 1)->text(), chosen);
    forms().abrechnung = nullptr;
}

void TestSeveralDesks::billElsewhereJoinsTheOpenDailyAccount()
{
    INSTALL_ON(Engine::PostgreSQL);
    LiveRefresh refresh;
    Tfrm_Tagesabrechnung account;
    forms().tagesabrechnung = &account;
    account.show();
    QVERIFY(QTest::qWaitForWindowExposed(&account));
    const int open = account.qry_detail->count();
    QVERIFY(other->billLine(4, 17.5));
    // The desk sees the line its closing would take with the others.
    QTRY_COMPARE_WITH_TIMEOUT(account.qry_detail->count(), open + 1, 5000);
    account.btn_abrechnenClick();
    QVERIFY(!account.btn_abrechnen->isEnabled());
    // Closed: the list keeps showing what this desk closed, whatever the other desk bills next.
    QVERIFY(other->billLine(5, 3));
    QTRY_COMPARE_WITH_TIMEOUT(
        TestInstallation::scalar("select count(*) from Tischabrechnung where not Abgerechnet").toInt(), 1,
        5000);
    QCoreApplication::processEvents();
    QCOMPARE(account.qry_detail->count(), open + 1);
    forms().tagesabrechnung = nullptr;
}

void TestSeveralDesks::moneyDecimalsChangedElsewhereRoundHere()
{
    INSTALL_ON(Engine::PostgreSQL);
    LiveRefresh refresh;
    SessionStart::loadNachkommafaktor();
    QCOMPARE(Session::Nachkommafaktor, 100);
    QVERIFY(other->setDecimals(0));
    QTRY_COMPARE_WITH_TIMEOUT(Session::Nachkommafaktor, 1, 5000);
    QCOMPARE(fRunden(12.5), 12.0);
}

QTEST_MAIN(TestSeveralDesks)
#include "tst_severaldesks.moc"
