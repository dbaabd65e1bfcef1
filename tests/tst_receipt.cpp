#include "answers.h"
#include "billing/receipt.h"
#include "billing/u_abrechnung.h"
#include "billing/u_beleg.h"
#include "data/daycount.h"
#include "data/displayformat.h"
#include "data/session.h"
#include "report/printing.h"
#include "reportpages.h"
#include "testinstallation.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

Receipt::Values sample(int copies = 1)
{
    Receipt::Values v;
    v.beleg.firmenname = QStringLiteral("Vantrell Tennis");
    v.beleg.strasse = QStringLiteral("Hall Street 4");
    v.beleg.plzOrt = QStringLiteral("12345 Court Town");
    v.beleg.telefon = QStringLiteral("0123 4567");
    v.beleg.belegnummer = 815;
    v.beleg.beleganzahl = copies;
    v.beleg.tischtyp = QStringLiteral("Tennis indoor");
    v.beleg.stundenpreis = QStringLiteral("12.5");
    v.beleg.startzeit = QStringLiteral("14/12/2026 18:00:00");
    v.beleg.quaters = QStringLiteral("4");
    v.courtNumber = QStringLiteral("3");
    v.amount = 1234.5;
    v.currency = QStringLiteral("EUR");
    v.printed = DayCount::fromDate(QDate(2026, 12, 14));
    return v;
}

// PDF page objects, however the writer spaces them.
int pdfPageCount(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray pdf = f.readAll();
    int pages = 0;
    for (qsizetype at = pdf.indexOf("/Type /Page"); at >= 0; at = pdf.indexOf("/Type /Page", at + 1))
        if (at + 11 >= pdf.size() || pdf[at + 11] != 's')
            ++pages;
    return pages;
}

// Court 3 at 12.00 an hour with a reservation of four quarters tonight, receipts on the small form
// twice, the last receipt number 41.
void eveningToBill()
{
    const int today = DayCount::today();
    TestInstallation::exec("update Tischfarben set Stundenpreis = 12.0 where TypNr = 1");
    TestInstallation::exec("insert into Tische (Tischnummer, TypNr) values (3, 1)");
    TestInstallation::exec(
        "update Preisprofil set Sonntag = 100, Montag = 100, Dienstag = 100, Mittwoch = 100, "
        "Donnerstag = 100, Freitag = 100, Samstag = 100");
    TestInstallation::exec("update Kennzahlen set Belegdruck = 0, Beleganzahl = 2, Belegid = 41");
    for (int quarter = 1; quarter <= 4; ++quarter)
        TestInstallation::exec(
            "insert into Reservierung (Reservierungsnummer, Datum, Stunde, Viertelstunde, "
            "Platz, Reservierer, Mitgliedsnummer, Prozente, Bezahlt) values (5, ?, 19, ?, 3, "
            "'Miller', -17, 0, false)",
            {today, quarter});
}

// Where a test's PDF goes: a temporary directory, or COURTORIA_REPORT_PDFS to look at it.
} // namespace

class TestReceipt : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void elementsAtTheirPlaces_data();
    void elementsAtTheirPlaces();
    void paperAndFonts();
    void amountByFactor_data();
    void amountByFactor();
    void hourlyPriceText_data();
    void hourlyPriceText();
    void copiesAndOtherLayouts();
    void billingWindowPrintsTheReceipt();
    void billingWindowSaysWhenTheReceiptIsNotPrinted();
};

void TestReceipt::init()
{
    Session::Nachkommafaktor = 100;
}

void TestReceipt::cleanup()
{
    QLocale::setDefault(QLocale::system());
}

void TestReceipt::elementsAtTheirPlaces_data()
{
    QTest::addColumn<int>("layout");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRectF>("place"); // left, top from the paper's corner; a width when fixed

    // A5: 10 mm margins; the small form: 5.08 mm.
    QTest::newRow("A5 head") << 1 << "lbl_head"
                             << "Court - Bill" << QRectF(10.8, 16.1, 126.7, 0);
    QTest::newRow("A5 company") << 1 << "lbl_firma"
                                << "Vantrell Tennis" << QRectF(60.8, 32.0, 0, 0);
    QTest::newRow("A5 date") << 1 << "QRSysData1" << QString() << QRectF(98.6, 40.4, 0, 0);
    QTest::newRow("A5 bill nr") << 1 << "lbl_belegid"
                                << "815" << QRectF(98.6, 46.8, 0, 0);
    QTest::newRow("A5 court nr") << 1 << "lbl_tischnummer"
                                 << "3" << QRectF(75.6, 69.5, 0, 0);
    QTest::newRow("A5 duration") << 1 << "lbl_laufzeit"
                                 << "4" << QRectF(75.6, 89.6, 0, 0);
    QTest::newRow("A5 unit") << 1 << "lbl_unit"
                             << "Quaters" << QRectF(98.6, 89.6, 0, 0);
    QTest::newRow("A5 sum") << 1 << "lbl_gesamt"
                            << "1,234.50" << QRectF(63.7, 103.7, 30.4, 0);
    QTest::newRow("A5 double rule") << 1 << "QRShape4" << QString() << QRectF(31.4, 111.1, 84.4, 0);
    QTest::newRow("A5 thanks") << 1 << "lbl_dank"
                               << "Thanks for visiting us" << QRectF(33.3, 143.9, 0, 0);
    QTest::newRow("small head") << 0 << "lbl_head"
                                << "Court - Bill" << QRectF(5.88, 8.28, 96.8, 0);
    QTest::newRow("small company") << 0 << "lbl_firma1"
                                   << "Company :" << QRectF(7.18, 24.18, 0, 0);
    QTest::newRow("small street") << 0 << "lbl_strasse"
                                  << "Hall Street 4" << QRectF(7.68, 32.58, 0, 0);
    QTest::newRow("small price") << 0 << "lbl_preispro"
                                 << "12.5" << QRectF(51.68, 67.78, 24.1, 0);
    QTest::newRow("small currency") << 0 << "lbl_waehrung3"
                                    << "EUR" << QRectF(77.08, 67.78, 0, 0);
    QTest::newRow("small start") << 0 << "lbl_startzeit"
                                 << "14/12/2026 18:00:00" << QRectF(51.68, 76.78, 0, 0);
    QTest::newRow("small sum") << 0 << "lbl_gesamt"
                               << "1,234.50" << QRectF(41.88, 95.88, 30.4, 0);
    QTest::newRow("small first rule") << 0 << "QRShape1" << QString() << QRectF(7.68, 72.78, 82.3, 0);
    QTest::newRow("small thanks") << 0 << "lbl_dank"
                                  << "Thanks for visiting us" << QRectF(28.38, 116.98, 0, 0);
}

void TestReceipt::elementsAtTheirPlaces()
{
    QFETCH(int, layout);
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QRectF, place);
    const std::optional<Report::Document> doc = Receipt::document(layout, sample());
    QVERIFY(doc);
    QCOMPARE(doc->pages.size(), 1);
    const Report::Item* item = doc->pages[0].item(name);
    QVERIFY2(item, qPrintable(name));
    QVERIFY2(qAbs(item->rect.left() - place.left()) < 0.005, qPrintable(QString::number(item->rect.left())));
    QVERIFY2(qAbs(item->rect.top() - place.top()) < 0.005, qPrintable(QString::number(item->rect.top())));
    if (place.width() > 0)
        QVERIFY(qAbs(item->rect.width() - place.width()) < 0.005);
    if (!text.isEmpty())
        QCOMPARE(item->text, text);
}

void TestReceipt::paperAndFonts()
{
    const Report::Document a5 = *Receipt::document(1, sample());
    const Report::Document small = *Receipt::document(0, sample());
    QCOMPARE(a5.paper, QSizeF(148, 210));
    QCOMPARE(small.paper, QSizeF(107.95, 139.7));
    const Report::Page& p = a5.pages[0];
    const Report::Page& q = small.pages[0];
    QCOMPARE(p.item("lbl_head")->font, Report::Font::sized(20, true, true));
    QCOMPARE(q.item("lbl_head")->font, Report::Font::sized(20, false, true));
    QCOMPARE(p.item("lbl_head")->alignment, Qt::AlignHCenter);
    QCOMPARE(p.item("lbl_dank")->font, Report::Font::sized(18, true));
    QCOMPARE(q.item("lbl_dank")->font, Report::Font::sized(14));
    QCOMPARE(q.item("lbl_firma")->font, Report::Font::sized(14));
    QCOMPARE(q.item("lbl_telefon")->font, Report::Font::sized(10));
    QCOMPARE(p.item("lbl_gesamt")->alignment, Qt::AlignRight);
    QCOMPARE(p.item("lbl_waehrung")->text, QStringLiteral("EUR"));
    QCOMPARE(p.item("QRSysData1")->text, DisplayFormat::date(sample().printed));
}

void TestReceipt::amountByFactor_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("factor");
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("printed");
    QTest::addColumn<QString>("date");
    QTest::newRow("English, 100") << "en_US" << 100 << 1234.5 << "1,234.50"
                                  << "12/14/2026";
    QTest::newRow("English, 10") << "en_US" << 10 << 1234.5 << "1,234.5"
                                 << "12/14/2026";
    QTest::newRow("English, 1") << "en_US" << 1 << 1235.0 << "1,235"
                                << "12/14/2026";
    QTest::newRow("English, millions") << "en_US" << 100 << 1234567.0 << "1,234,567.00"
                                       << "12/14/2026";
    QTest::newRow("German, 100") << "de_DE" << 100 << 1234.5 << "1.234,50"
                                 << "14.12.2026";
    QTest::newRow("German, 10") << "de_DE" << 10 << 1234.5 << "1.234,5"
                                << "14.12.2026";
    QTest::newRow("German, 1") << "de_DE" << 1 << 1235.0 << "1.235"
                               << "14.12.2026";
    QTest::newRow("German, millions") << "de_DE" << 100 << 1234567.0 << "1.234.567,00"
                                      << "14.12.2026";
}

void TestReceipt::amountByFactor()
{
    QFETCH(QString, locale);
    QFETCH(int, factor);
    QFETCH(double, amount);
    QFETCH(QString, printed);
    QFETCH(QString, date);
    // The system's separators, as the date beside the amount has them.
    QLocale::setDefault(QLocale(locale));
    Session::Nachkommafaktor = factor;
    Receipt::Values v = sample();
    v.amount = amount;
    for (int layout : {0, 1}) {
        const Report::Document receipt = *Receipt::document(layout, v);
        QCOMPARE(receipt.pages[0].item("lbl_gesamt")->text, printed);
        QCOMPARE(receipt.pages[0].item("QRSysData1")->text, date);
    }
}

void TestReceipt::hourlyPriceText_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<double>("price");
    QTest::addColumn<QString>("text");
    QTest::newRow("English, a half") << "en_US" << 12.5 << "12.5";
    QTest::newRow("English, thousands ungrouped") << "en_US" << 1234.25 << "1234.25";
    QTest::newRow("German, a half") << "de_DE" << 12.5 << "12,5";
    QTest::newRow("German, whole") << "de_DE" << 12.0 << "12";
    QTest::newRow("German, thousands ungrouped") << "de_DE" << 1234.25 << "1234,25";
}

void TestReceipt::hourlyPriceText()
{
    QFETCH(QString, locale);
    QFETCH(double, price);
    QFETCH(QString, text);
    QLocale::setDefault(QLocale(locale));
    QCOMPARE(DisplayFormat::general(price), text);
}

void TestReceipt::copiesAndOtherLayouts()
{
    QTemporaryDir dir;
    const QString file = pdfFile(dir, QStringLiteral("receipt-a5.pdf"));
    Printing::setPrinterFile(file);
    QCOMPARE(BelegDrucken(1, sample(3)), QString());
    QCOMPARE(pdfPageCount(file), 3);
    const Report::Document a5 = *Receipt::document(1, sample(3));
    QCOMPARE(a5.printedPages().size(), 3);
    QCOMPARE(a5.printedPages()[2].items.size(), a5.pages[0].items.size());

    const QString nothing = dir.filePath(QStringLiteral("nothing.pdf"));
    Printing::setPrinterFile(nothing);
    QVERIFY(!Receipt::document(2, sample()));
    QVERIFY(!Receipt::document(-1, sample()));
    QCOMPARE(BelegDrucken(2, sample(3)), QString()); // nothing printed, nothing to complain of
    QVERIFY(!QFile::exists(nothing));
    Printing::setPrinterFile({});
}

void TestReceipt::billingWindowPrintsTheReceipt()
{
    TestInstallation installation;
    QVERIFY2(installation.isValid(), qPrintable(installation.failure()));
    eveningToBill();
    QTemporaryDir dir;
    const QString file = pdfFile(dir, QStringLiteral("receipt-small.pdf"));
    QFile::remove(file);
    Printing::setPrinterFile(file);
    Tfrm_abrechnung w;
    w.ed_court->setText(QStringLiteral("3"));
    w.cb_printbill->setChecked(true);
    w.show();
    QCOMPARE(w.gr_spieler->rowCount(), 1);
    w.btn_abrechnen->click();
    Printing::setPrinterFile({});
    QCOMPARE(w.belegdaten().belegnummer, 42);
    QCOMPARE(pdfPageCount(file), 2);
    w.close();
}

void TestReceipt::billingWindowSaysWhenTheReceiptIsNotPrinted()
{
    TestInstallation installation;
    QVERIFY2(installation.isValid(), qPrintable(installation.failure()));
    eveningToBill();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("no such folder/receipt.pdf"));
    Printing::setPrinterFile(file);
    Tfrm_abrechnung w;
    w.ed_court->setText(QStringLiteral("3"));
    w.cb_printbill->setChecked(true);
    w.show();
    Answers answers;
    w.btn_abrechnen->click();
    Printing::setPrinterFile({});
    QCOMPARE(
        answers.asked,
        QStringList{
            QStringLiteral("The receipt could not be printed: the file %1 could not be written").arg(file)});
    // The bill stands with the receipt number the desk writes on a receipt by hand.
    QCOMPARE(w.belegdaten().belegnummer, 42);
    QCOMPARE(
        TestInstallation::scalar("select count(*) from Tischabrechnung where Reservierer = 'Miller'").toInt(),
        1);
    QCOMPARE(TestInstallation::scalar("select Belegid from Kennzahlen").toInt(), 42);
    w.close();
}

QTEST_MAIN(TestReceipt)
#include "tst_receipt.moc"
