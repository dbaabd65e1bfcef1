#include "answers.h"
#include "data/daycount.h"
#include "report/printing.h"
#include "reportpages.h"
#include "reservations/reservationreport.h"
#include "reservations/u_druck.h"
#include "testinstallation.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using ReservationReport::Options;

namespace {

const int day = DayCount::fromDate(QDate(2026, 12, 14));

// Quarters from a start slot on; hour 1 is 00:00 to 01:00.
void book(int number, int datum, int platz, const QString& who, int stunde, int viertelstunde, int quarters)
{
    for (int i = 0; i < quarters; ++i) {
        const int slot = (stunde - 1) * 4 + viertelstunde - 1 + i;
        TestInstallation::exec(
            "insert into Reservierung (Reservierungsnummer, Datum, Stunde, Viertelstunde, "
            "Platz, Reservierer, Mitgliedsnummer, Prozente, Bezahlt) values (?, ?, ?, ?, ?, ?, "
            "-17, 0, false)",
            {number, datum, slot / 4 + 1, slot % 4 + 1, platz, who});
    }
}

// Court 1: Abel 00:00 for six quarters, Baker 23:45 for one; court 2: Clark 18:00 for four.
void bookTwoCourts()
{
    book(1, day, 1, QStringLiteral("Abel"), 1, 1, 6);
    book(2, day, 1, QStringLiteral("Baker"), 24, 4, 1);
    book(3, day, 2, QStringLiteral("Clark"), 19, 1, 4);
}

Options oneDay(bool details = true, bool courtSum = true, bool daySum = true)
{
    Options o;
    o.vonDatum = o.bisDatum = day;
    o.company = QStringLiteral("Vantrell Tennis");
    o.details = details;
    o.courtSum = courtSum;
    o.daySum = daySum;
    o.printed = day;
    return o;
}

} // namespace

class TestReservationReport : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void twoCourtsOnOneDay();
    void visibilityLevels_data();
    void visibilityLevels();
    void oneReservationOnTwoCourts();
    void reportOnA4AtItsPlaces();
    void windowPrintsPreviewsOrRefuses();

private:
    std::unique_ptr<TestInstallation> installation;
};

void TestReservationReport::init()
{
    installation = std::make_unique<TestInstallation>();
    QVERIFY2(installation->isValid(), qPrintable(installation->failure()));
}

void TestReservationReport::cleanup()
{
    installation.reset();
}

void TestReservationReport::twoCourtsOnOneDay()
{
    bookTwoCourts();
    book(4, day + 1, 1, QStringLiteral("Dawson"), 10, 1, 2); // another day, outside the range
    const Report::Document doc = ReservationReport::document(oneDay());
    QCOMPARE(doc.pages.size(), 1);
    const Report::Page& p = doc.pages[0];
    QCOMPARE(p.bandNames(),
             QStringList({"pageHeader", "dateHeader", "de_reservation", "de_reservation", "fb_platz",
                          "de_reservation", "fb_platz", "fb_datum", "summary", "pageFooter"}));
    QCOMPARE(texts(p, "Reservierer"), QStringList({"Abel", "Baker", "Clark"}));
    QCOMPARE(texts(p, "Startzeit"), QStringList({"00 : 00", "23 : 45", "18 : 00"}));
    QCOMPARE(texts(p, "Dauer"), QStringList({"6", "1", "4"}));
    QCOMPARE(texts(p, "cf_platz"), QStringList({"1", "2"}));
    QCOMPARE(texts(p, "cf_sum"), QStringList({"7", "4"}));
    QCOMPARE(texts(p, "df_sum"), QStringList({"11"}));
    QCOMPARE(texts(p, "su_sum"), QStringList({"11"}));
    QCOMPARE(texts(p, "lbl_dauer"), QStringList({"2 : 45"}));
    QCOMPARE(texts(p, "lbl_company"), QStringList({"Vantrell Tennis"}));
    QCOMPARE(texts(p, "ph_page"), QStringList({"1"}));

    // Court 1 alone: 7 quarters are 1 : 45.
    Options court1 = oneDay();
    court1.bisPlatz = 1;
    QCOMPARE(texts(ReservationReport::document(court1).pages[0], "lbl_dauer"), QStringList({"1 : 45"}));
}

void TestReservationReport::visibilityLevels_data()
{
    QTest::addColumn<bool>("details");
    QTest::addColumn<bool>("courtSum");
    QTest::addColumn<bool>("daySum");
    QTest::addColumn<QStringList>("bands");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("hidden");

    const QStringList always = {"lbl_durationhead", "su_sum", "lbl_dauer", "lbl_company"};
    QTest::newRow("every line") << true << true << true
                                << QStringList{"pageHeader",     "dateHeader", "de_reservation",
                                               "de_reservation", "fb_platz",   "de_reservation",
                                               "fb_platz",       "fb_datum",   "summary",
                                               "pageFooter"}
                                << always +
                                       QStringList{"lbl_datehead",  "lbl_courthead", "lbl_reservatorhead",
                                                   "lbl_beginhead", "sh_court",      "lbl_sumcourt",
                                                   "sh_datehead",   "sh_datefooter", "lbl_sumdate"}
                                << QStringList{};
    QTest::newRow("court and day sums")
        << false << true << true << QStringList{"pageHeader", "dateHeader", "fb_platz",  "fb_platz",
                                                "fb_datum",   "summary",    "pageFooter"}
        << always + QStringList{"lbl_datehead", "lbl_courthead", "cf_sum",
                                "sh_datehead",  "sh_datefooter", "lbl_sumdate"}
        << QStringList{"lbl_reservatorhead", "lbl_beginhead", "Reservierer", "sh_court", "lbl_sumcourt"};
    QTest::newRow("day sums") << true << false << true
                              << QStringList{"pageHeader", "fb_datum", "summary", "pageFooter"}
                              << always + QStringList{"lbl_datehead", "df_sum"}
                              << QStringList{
                                     "lbl_courthead", "lbl_reservatorhead", "lbl_beginhead", "cf_sum",
                                     "sh_datehead",   "sh_datefooter",      "lbl_sumdate",   "dh_datum"};
    QTest::newRow("total only") << true << true << false << QStringList{"pageHeader", "summary", "pageFooter"}
                                << always
                                << QStringList{"lbl_datehead",  "lbl_courthead", "lbl_reservatorhead",
                                               "lbl_beginhead", "df_sum",        "cf_sum"};
}

void TestReservationReport::visibilityLevels()
{
    QFETCH(bool, details);
    QFETCH(bool, courtSum);
    QFETCH(bool, daySum);
    QFETCH(QStringList, bands);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, hidden);
    bookTwoCourts();
    const Report::Document doc = ReservationReport::document(oneDay(details, courtSum, daySum));
    QCOMPARE(doc.pages.size(), 1);
    const Report::Page& p = doc.pages[0];
    QCOMPARE(p.bandNames(), bands);
    for (const QString& name : shown)
        QVERIFY2(p.item(name), qPrintable(name));
    for (const QString& name : hidden)
        QVERIFY2(!p.item(name), qPrintable(name));
    QCOMPARE(texts(p, "su_sum"), QStringList({"11"}));
}

void TestReservationReport::oneReservationOnTwoCourts()
{
    book(7, day, 2, QStringLiteral("Evans"), 11, 2, 2);
    book(7, day, 5, QStringLiteral("Evans"), 11, 2, 2);
    const Report::Page p = ReservationReport::document(oneDay()).pages.value(0);
    QCOMPARE(texts(p, "Reservierer"), QStringList({"Evans", "Evans"}));
    QCOMPARE(texts(p, "cf_platz"), QStringList({"2", "5"}));
    QCOMPARE(texts(p, "Startzeit"), QStringList({"10 : 15", "10 : 15"}));
}

void TestReservationReport::reportOnA4AtItsPlaces()
{
    bookTwoCourts();
    const Report::Document doc = ReservationReport::document(oneDay());
    QCOMPARE(doc.paper, QSizeF(210, 297));
    const Report::Page& p = doc.pages[0];
    // Page header at the paper's top edge, the first day head right below its 40.5 mm.
    QCOMPARE(p.item("lbl_durationhead")->rect.left(), 167.2);
    QCOMPARE(p.item("lbl_reservatorhead")->rect.left(), 56.9);
    QCOMPARE(p.bands[1].top, 40.5);
    const Report::Item* line = p.item("Reservierer");
    QCOMPARE(line->rect.left(), 51.3);
    QCOMPARE(line->rect.width(), 96.3);
    QCOMPARE(line->rect.top(), 40.5 + 6.1 + 0.3);
    QCOMPARE(p.itemsNamed("Dauer")[0]->rect.left(), 170.1);
    QCOMPARE(p.item("sh_court")->rect.left(), 33.1);
    QCOMPARE(p.item("cf_sum")->color, QColor(128, 0, 0));
    QCOMPARE(p.item("df_sum")->color, QColor(0, 0, 128));
    QVERIFY(p.item("lbl_sumcourt")->rect.right() < p.item("cf_sum")->rect.left());
    // The footer's company name and line at the bottom of the page.
    QCOMPARE(p.item("lbl_company")->rect.topLeft(), QPointF(7.1, 297 - 20.9 + 2.9));
    QCOMPARE(p.item("ln_footer")->rect, QRectF(3.4, 297 - 20.9 + 8.2, 202.4, 0));
    QCOMPARE(p.item("lbl_title")->font, Report::Font::sized(16, true));
}

void TestReservationReport::windowPrintsPreviewsOrRefuses()
{
    bookTwoCourts();
    Answers answers;
    Tfrm_druck w;
    w.show();
    QCOMPARE(w.cb_vonplatz->currentText(), QStringLiteral("Court Nr. 1"));
    QCOMPARE(w.cb_bisplatz->currentText(), QStringLiteral("Court Nr. 12"));
    QCOMPARE(w.dp_bisdatum->date(), DayCount::toDate(DayCount::today()));
    QCOMPARE(w.dp_vondatum->date(), DayCount::toDate(DayCount::today()).addDays(-7));

    // A first court above the last selects nothing.
    w.dp_vondatum->setDate(DayCount::toDate(day));
    w.dp_bisdatum->setDate(DayCount::toDate(day));
    w.cb_vonplatz->setCurrentIndex(2);
    w.cb_bisplatz->setCurrentIndex(1);
    QTemporaryDir dir;
    const QString file = pdfFile(dir, QStringLiteral("reservations.pdf"));
    QFile::remove(file);
    Printing::setPrinterFile(file);
    w.btn_print->click();
    QCOMPARE(answers.asked, QStringList({"No Reservations for printing a Report !"}));
    QVERIFY(!QFile::exists(file));

    w.cb_vonplatz->setCurrentIndex(0);
    w.ed_companyname->setText(QStringLiteral("Vantrell Tennis"));
    w.btn_print->click();
    Printing::setPrinterFile({});
    QCOMPARE(answers.asked.size(), 1);
    QVERIFY(QFile::exists(file));

    // The preview is modal; it is closed here as the desk would close it.
    bool previewed = false;
    QTimer::singleShot(100, [&] {
        if (QWidget* preview = QApplication::activeModalWidget()) {
            const auto* pages = preview->findChild<QPrintPreviewWidget*>();
            previewed = preview != &w && preview->isMaximized() && pages &&
                        pages->zoomMode() == QPrintPreviewWidget::FitToWidth && pages->pageCount() == 1;
            preview->close();
        }
    });
    w.btn_preview->click();
    QVERIFY(previewed);
    w.cb_details->setChecked(false);
    w.close();

    // The company name and the choices come back in the next session.
    Tfrm_druck again;
    QCOMPARE(again.ed_companyname->text(), QStringLiteral("Vantrell Tennis"));
    QVERIFY(!again.cb_details->isChecked());
    QVERIFY(again.cb_courtsum->isChecked());
}

QTEST_MAIN(TestReservationReport)
#include "tst_reservationreport.moc"
