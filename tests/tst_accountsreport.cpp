#include "answers.h"
#include "billing/accountsreport.h"
#include "billing/u_abschluesse.h"
#include "billing/u_alleabschluessereport.h"
#include "data/daycount.h"
#include "data/displayformat.h"
#include "data/session.h"
#include "report/printing.h"
#include "reportpages.h"
#include "testinstallation.h"
#include "ui/forms.h"

#include <QApplication>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using AccountsReport::Options;

namespace {

const int day = DayCount::fromDate(QDate(2026, 12, 14));

int lineCount = 0; // billed one after another, a minute and a half apart

void billLine(int account, double closed, int court, double betrag,
              const QString& who = QStringLiteral("Miller"), bool settled = true)
{
    TestInstallation::exec(
        "insert into Tischabrechnung (Tischnummer, Einschreibdatum, Betrag, DrinksundSnacks, "
        "Abgerechnet, Abrechnungsfolge, Abrechnungsdatum, Startzeit, Quaters, Reservierer) "
        "values (?, ?, ?, 0, ?, ?, ?, ?, 4, ?)",
        {court, closed - 0.25 + lineCount++ * 0.001, betrag, settled, account, closed, closed - 0.3, who});
}

// Account 7 closed on the evening of the day: three lines on court 2, one on court 5.
void bookAccount7()
{
    billLine(7, day + 0.9, 5, 100.0, QStringLiteral("Evans"));
    billLine(7, day + 0.9, 2, 12.5, QStringLiteral("Abel"));
    billLine(7, day + 0.9, 2, 1000.0, QStringLiteral("Baker"));
    billLine(7, day + 0.9, 2, 234.0, QStringLiteral("Clark"));
}

Options range(int von, int bis, bool details = false)
{
    Options o;
    o.vonDatum = von;
    o.bisDatum = bis;
    o.details = details;
    o.currency = QStringLiteral("EUR");
    o.printed = day + 1.5;
    return o;
}

} // namespace

class TestAccountsReport : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void framedCourtSubtotalsWithoutDetails();
    void detailsPrintEveryLine();
    void pagePerAccountInTheRange();
    void amountFormatByFactor_data();
    void amountFormatByFactor();
    void windowPrintsAndPreviews();
    void overviewPrintsTheChosenDays();

private:
    std::unique_ptr<TestInstallation> installation;
};

void TestAccountsReport::init()
{
    installation = std::make_unique<TestInstallation>();
    QVERIFY2(installation->isValid(), qPrintable(installation->failure()));
    Session::Nachkommafaktor = 100;
}

void TestAccountsReport::cleanup()
{
    installation.reset();
}

void TestAccountsReport::framedCourtSubtotalsWithoutDetails()
{
    bookAccount7();
    const Report::Document doc = AccountsReport::document(range(day, day));
    QCOMPARE(doc.pages.size(), 1);
    const Report::Page& p = doc.pages[0];
    QCOMPARE(p.bandNames(),
             QStringList({"pageHeader", "ChildBand1", "accountHeader", "courtHeader", "courtFooter",
                          "courtHeader", "courtFooter", "accountFooter", "pageFooter"}));
    QCOMPARE(texts(p, "cf_court"), QStringList({"2", "5"}));
    QCOMPARE(texts(p, "cf_sum"), QStringList({"1,246.50 ", "100.00 "}));
    QCOMPARE(texts(p, "af_sum"), QStringList({"1,346.50 "}));
    QCOMPARE(texts(p, "lbl_summew"), QStringList({"EUR"}));
    QCOMPARE(texts(p, "Abrechnungsfolge"), QStringList({"7"}));
    QCOMPARE(texts(p, "pf_page"), QStringList({"1"}));
    // Each subtotal sits in a frame round its band, 190 mm wide from the left margin.
    const QList<const Report::Item*> frames = p.itemsNamed("sh_court");
    QCOMPARE(frames.size(), 2);
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(frames[i]->rect.left(), 10.0);
        QCOMPARE(frames[i]->rect.width(), 190.0);
        QCOMPARE(frames[i]->rect.height(), 6.1);
        QCOMPARE(frames[i]->rect.top(), p.itemsNamed("cf_sum")[i]->rect.top() - 0.8);
        QVERIFY(frames[i]->edges == (Qt::TopEdge | Qt::BottomEdge | Qt::LeftEdge | Qt::RightEdge));
    }
    QVERIFY(qAbs(p.itemsNamed("cf_sum")[0]->rect.right() - 195.8) < 0.001);
    QVERIFY(!p.item("Reservierer"));
    QVERIFY(!p.item("lbl_calculated") && !p.item("lbl_start") && !p.item("lbl_quaters"));
    QVERIFY(p.item("lbl_court") && p.item("lbl_reservator") && p.item("lbl_bills"));
}

void TestAccountsReport::detailsPrintEveryLine()
{
    bookAccount7();
    const Report::Page p = AccountsReport::document(range(day, day, true)).pages.value(0);
    QCOMPARE(texts(p, "Reservierer"), QStringList({"Abel", "Baker", "Clark", "Evans"}));
    QCOMPARE(texts(p, "Betrag"), QStringList({"12.50 ", "1,000.00 ", "234.00 ", "100.00 "}));
    QCOMPARE(texts(p, "Quaters"), QStringList({"4", "4", "4", "4"}));
    QCOMPARE(texts(p, "Einschreibdatum").size(), 4);
    QCOMPARE(texts(p, "Startzeit")[0], DisplayFormat::dateTime(day + 0.6));
    QCOMPARE(p.bands[4].name, QStringLiteral("DetailBand1"));
    QVERIFY(qAbs(p.bands[4].height - 5.03) < 0.01);
    QVERIFY(p.item("lbl_calculated") && p.item("lbl_start") && p.item("lbl_quaters"));
    // The title band sits below the page header on its yellow ground.
    const Report::PlacedBand& titles = p.bands[1];
    QCOMPARE(titles.top, 10 + 24.1);
    QCOMPARE(p.item("lbl_quaters")->rect.left(), 155.0);
    QVERIFY(qAbs(p.item("lbl_bills")->rect.right() - 196.8) < 0.001);
}

void TestAccountsReport::pagePerAccountInTheRange()
{
    bookAccount7();
    billLine(8, day + 1, 3, 20.0);                  // closed at midnight after the day: outside
    billLine(6, day - 0.0001, 3, 20.0);             // the evening before: outside
    billLine(9, day + 0.5, 4, 30.0, "Open", false); // not settled
    QCOMPARE(AccountsReport::rows(day, day).size(), 4);

    // A day earlier as well: account 6 of that evening joins, each account on its page in order.
    billLine(5, day - 1 + 0.5, 1, 40.0);
    const Report::Document doc = AccountsReport::document(range(day - 1, day));
    QCOMPARE(doc.pages.size(), 3);
    QStringList numbers;
    for (const Report::Page& page : doc.pages)
        numbers << texts(page, "Abrechnungsfolge");
    QCOMPARE(numbers, QStringList({"5", "6", "7"}));
    QCOMPARE(texts(doc.pages[2], "pf_page"), QStringList({"3"}));
    QCOMPARE(texts(doc.pages[0], "af_sum"), QStringList({"40.00 "}));
    QCOMPARE(texts(doc.pages[2], "af_sum"), QStringList({"1,346.50 "}));
    QCOMPARE(doc.pages[1].bandNames().first(), QStringLiteral("pageHeader"));

    QVERIFY(AccountsReport::document(range(day + 2, day + 5)).isEmpty());
}

void TestAccountsReport::amountFormatByFactor_data()
{
    QTest::addColumn<int>("factor");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("total");
    QTest::newRow("1") << 1 << "1,235 "
                       << "1,235 ";
    QTest::newRow("10") << 10 << "1,234.5"
                        << "1,234.5";
    QTest::newRow("100") << 100 << "1,234.50 "
                         << "1,234.50 ";
    QTest::newRow("other") << 1000 << "1,234.50"
                           << "1,234.50";
}

void TestAccountsReport::amountFormatByFactor()
{
    QFETCH(int, factor);
    QFETCH(QString, line);
    QFETCH(QString, total);
    billLine(3, day + 0.5, 1, 1234.5);
    Session::Nachkommafaktor = factor;
    const Report::Page p = AccountsReport::document(range(day, day, true)).pages.value(0);
    QCOMPARE(texts(p, "Betrag"), QStringList({line}));
    QCOMPARE(texts(p, "af_sum"), QStringList({total}));
}

void TestAccountsReport::windowPrintsAndPreviews()
{
    bookAccount7();
    billLine(8, day + 0.95, 3, 20.0);
    Answers answers;
    Tfrm_alleabschluessereport w;
    w.lbl_summew->setText(QStringLiteral("EUR"));
    QTemporaryDir dir;
    const QString file = pdfFile(dir, QStringLiteral("accounts.pdf"));
    QFile::remove(file);
    Printing::setPrinterFile(file);
    const QDate date = DayCount::toDate(day);
    w.printAccounts(date.addDays(1), date.addDays(3), true, false);
    QVERIFY(!QFile::exists(file)); // an empty range prints no page
    w.printAccounts(date, date, true, false);
    Printing::setPrinterFile({});
    QVERIFY(QFile::exists(file));
    QVERIFY(answers.asked.isEmpty());

    bool previewed = false;
    QTimer::singleShot(0, [&] {
        if (QWidget* preview = QApplication::activeModalWidget()) {
            previewed = preview->isMaximized();
            preview->close();
        }
    });
    w.printAccounts(date, date, false, true);
    QVERIFY(previewed);
}

void TestAccountsReport::overviewPrintsTheChosenDays()
{
    bookAccount7();
    Answers answers;
    Tfrm_alleabschluessereport report;
    forms().alleabschluessereport = &report;
    Tfrm_abschluesse overview;
    QTemporaryDir dir;
    const QString file = pdfFile(dir, QStringLiteral("overview.pdf"));
    QFile::remove(file);
    Printing::setPrinterFile(file);
    const QDate date = DayCount::toDate(day);
    overview.ed_vondatum->setDate(date.addDays(1));
    overview.ed_bisdatum->setDate(date.addDays(2));
    overview.btn_ausdruck->click();
    QVERIFY(!QFile::exists(file));
    overview.ed_vondatum->setDate(date);
    overview.btn_ausdruck->click();
    Printing::setPrinterFile({});
    forms().alleabschluessereport = nullptr;
    QVERIFY(QFile::exists(file));
    QVERIFY(answers.asked.isEmpty());
}

QTEST_MAIN(TestAccountsReport)
#include "tst_accountsreport.moc"
