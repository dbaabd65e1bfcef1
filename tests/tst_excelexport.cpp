#include "answers.h"
#include "billing/excelexport.h"
#include "billing/u_abschluesse.h"
#include "data/daycount.h"
#include "data/displayformat.h"
#include "data/session.h"
#include "data/store.h"
#include "testinstallation.h"
#include "xls/xlswriter.h"
#include "xlsreadback.h"

#include <QApplication>
#include <QDateEdit>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using Version = TXLSWrite::Version;
using Layout = ExcelExport::Layout;
Q_DECLARE_METATYPE(TXLSWrite::Version)
Q_DECLARE_METATYPE(ExcelExport::Layout)

namespace {

const int firstDay = DayCount::fromDate(QDate(2026, 3, 10));
const int lastDay = firstDay + 1;
// Account 7 closed at midnight opening the range, account 8 in the evening of its last day.
const double closed7 = firstDay;
const double closed8 = lastDay + (21 * 3600 + 30 * 60 + 15) / 86400.0;

void line(int court, double amount, int account, double closedAt, const QString& reservator, double written,
          int quarters = 4)
{
    TestInstallation::exec("insert into Tischabrechnung (Tischnummer, Einschreibdatum, Betrag, "
                           "DrinksundSnacks, Abgerechnet, Abrechnungsfolge, Abrechnungsdatum, Startzeit, "
                           "Quaters, Reservierer) values (?, ?, ?, 5, ?, ?, ?, ?, ?, ?)",
                           {court, written, amount, account > 0, account > 0 ? QVariant(account) : QVariant(),
                            account > 0 ? QVariant(closedAt) : QVariant(), written - quarters / 96.0,
                            quarters, reservator});
}

// Accounts 7 (120.00: court 1 with 50.00 and 30.00, court 3 with 40.00) and 8 (80.50 on court 2)
// in the range; account 6 closed the evening before it and 9 at the midnight after it; one open bill.
void accountsSevenAndEight()
{
    line(1, 99, 6, firstDay - 0.01, QStringLiteral("Before"), firstDay - 0.2);
    line(3, 40.00, 7, closed7, QStringLiteral("Carla"), firstDay - 1 + 20.0 / 24);
    line(1, 50.00, 7, closed7, QStringLiteral("Anna"), firstDay - 1 + 18.5 / 24);
    line(1, 30.00, 7, closed7, QStringLiteral("Bernd"), firstDay - 1 + 19.75 / 24, 3);
    line(2, 60.25, 8, closed8, QStringLiteral("Dora"), lastDay + 17.0 / 24);
    line(2, 20.25, 8, closed8, QStringLiteral("Emil"), lastDay + 18.0 / 24, 2);
    line(5, 77, 9, lastDay + 1, QStringLiteral("After"), lastDay + 0.9);
    line(4, 33, 0, 0, QStringLiteral("Open"), lastDay + 0.5);
}

QString text(const QJsonObject& book, int sheet, int row, int column)
{
    const QJsonObject c = cell(book, sheet, row, column);
    return c[QStringLiteral("text")].toBool() ? c[QStringLiteral("value")].toString()
                                              : QStringLiteral("<none>");
}

double number(const QJsonObject& book, int sheet, int row, int column)
{
    const QJsonObject c = cell(book, sheet, row, column);
    return c.contains(QStringLiteral("text")) && !c[QStringLiteral("text")].toBool()
               ? c[QStringLiteral("value")].toDouble()
               : -1e9;
}

QJsonArray sheets(const QJsonObject& book)
{
    return book[QStringLiteral("sheets")].toArray();
}

QStringList sheetNames(const QJsonObject& book)
{
    QStringList names;
    for (const QJsonValue& sheet : sheets(book))
        names << sheet[QStringLiteral("name")].toString();
    return names;
}

int cellCount(const QJsonObject& book, int sheet)
{
    return int(sheets(book)[sheet][QStringLiteral("cells")].toObject().size());
}

QStringList rowsWithCells(const QJsonObject& book, int sheet)
{
    QSet<int> rows;
    const QJsonObject cells = sheets(book)[sheet][QStringLiteral("cells")].toObject();
    for (auto it = cells.begin(); it != cells.end(); ++it)
        rows.insert(it.key().section(QLatin1Char(','), 0, 0).toInt());
    QList<int> sorted(rows.begin(), rows.end());
    std::sort(sorted.begin(), sorted.end());
    QStringList out;
    for (int r : sorted)
        out << QString::number(r + 1);
    return out;
}

} // namespace

// Receives what "Show EXCEL Export" asks the shell to open.
class ShellOpen : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

class TestExcelExport : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void accountSums_data();
    void accountSums();
    void courtSums_data();
    void courtSums();
    void courtDetails_data();
    void courtDetails();
    void emptyRangeWritesNoFile_data();
    void emptyRangeWritesNoFile();
    void excel40HoldsOneAccountOnly();
    void failedExportKeepsTheEarlierFile_data();
    void failedExportKeepsTheEarlierFile();
    void exportPageWritesTheChosenFile();
    void exportPageKeepsItsChoices();
    void exportPageShowsTheSystemsError();
    void exportPageOpensTheFileAndItsDialog();

private:
    QString path(const QString& name) const { return dir_.filePath(name); }
    std::unique_ptr<TestInstallation> installation;
    QTemporaryDir dir_;
};

void TestExcelExport::init()
{
    installation = std::make_unique<TestInstallation>();
    QVERIFY2(installation->isValid(), qPrintable(installation->failure()));
    QVERIFY(dir_.isValid());
    Session::Nachkommafaktor = 100;
    accountsSevenAndEight();
}

void TestExcelExport::cleanup()
{
    installation.reset();
}

void TestExcelExport::accountSums_data()
{
    QTest::addColumn<Version>("version");
    QTest::addColumn<int>("factor");
    QTest::addColumn<QString>("money");
    QTest::addColumn<int>("colour");
    // Excel 4.0 cells keep the default format.
    QTest::newRow("Excel 4.0") << Version::xls40 << 100 << "General" << int(TXLSWrite::Black);
    QTest::newRow("Excel 5.0, factor 1") << Version::xls50 << 1 << "#,##0" << int(TXLSWrite::Red);
    QTest::newRow("Excel 5.0, factor 10") << Version::xls50 << 10 << "#,##0.00" << int(TXLSWrite::Red);
    QTest::newRow("Excel 97, factor 1") << Version::xls97 << 1 << "#,##0" << int(TXLSWrite::Red);
    QTest::newRow("Excel 97, factor 100") << Version::xls97 << 100 << "#,##0.00" << int(TXLSWrite::Red);
}

void TestExcelExport::accountSums()
{
    QFETCH(Version, version);
    QFETCH(int, factor);
    QFETCH(QString, money);
    QFETCH(int, colour);

    TXLSWrite xls;
    xls.setXLSVersion(version);
    xls.setNachkommafaktor(factor);
    xls.FileName = path(QStringLiteral("sums.xls"));
    xls.Sheets = {QStringLiteral("7"), QStringLiteral("8")}; // left by an export per account
    Answers answers;
    QVERIFY(ExcelExport::run(xls, Layout::AccountSums, firstDay, lastDay));
    QCOMPARE(answers.asked, QStringList{QStringLiteral("export finished")});

    const QJsonObject book = readBack(xls.FileName);
    QCOMPARE(sheets(book).size(), 1);
    if (version != Version::xls40)
        QCOMPARE(sheetNames(book), QStringList{QStringLiteral("Sheet1")});
    QCOMPARE(rowsWithCells(book, 0), QStringList({"3", "4", "5", "7"}));
    QCOMPARE(cellCount(book, 0), 3 + 3 + 3 + 2);
    QCOMPARE(text(book, 0, 2, 0), QStringLiteral("account nr."));
    QCOMPARE(text(book, 0, 2, 1), QStringLiteral("account date"));
    QCOMPARE(text(book, 0, 2, 2), QStringLiteral("sum of courtrents"));
    QCOMPARE(text(book, 0, 3, 0), QStringLiteral("7"));
    QCOMPARE(text(book, 0, 3, 1), DisplayFormat::dateLongTime(closed7));
    QCOMPARE(number(book, 0, 3, 2), 120.00);
    QCOMPARE(text(book, 0, 4, 0), QStringLiteral("8"));
    QCOMPARE(text(book, 0, 4, 1), DisplayFormat::dateLongTime(closed8));
    QCOMPARE(number(book, 0, 4, 2), 80.50);
    QCOMPARE(text(book, 0, 6, 1), QStringLiteral("Sum of all"));
    QCOMPARE(number(book, 0, 6, 2), 200.50);

    const QJsonObject sum = cell(book, 0, 6, 2);
    QCOMPARE(sum[QStringLiteral("format")].toString(), money);
    QCOMPARE(sum[QStringLiteral("colour")].toInt(), colour);
    const QJsonObject widths = sheets(book)[0][QStringLiteral("widths")].toObject();
    QCOMPARE(widths[QStringLiteral("0")].toInt(), 3000);
    for (const char* column : {"1", "2", "3", "4"})
        QCOMPARE(widths[QLatin1String(column)].toInt(), 5000);
    if (version != Version::xls40) {
        QVERIFY(cell(book, 0, 2, 0)[QStringLiteral("centred")].toBool());
        QVERIFY(!cell(book, 0, 3, 0)[QStringLiteral("centred")].toBool());
    }
}

void TestExcelExport::courtSums_data()
{
    QTest::addColumn<Version>("version");
    QTest::newRow("Excel 5.0") << Version::xls50;
    QTest::newRow("Excel 97") << Version::xls97;
}

void TestExcelExport::courtSums()
{
    QFETCH(Version, version);
    TXLSWrite xls;
    xls.setXLSVersion(version);
    xls.FileName = path(QStringLiteral("courts.xls"));
    Answers answers;
    QVERIFY(ExcelExport::run(xls, Layout::CourtSums, firstDay, lastDay));
    QCOMPARE(answers.asked, QStringList{QStringLiteral("export finished")});

    const QJsonObject book = readBack(xls.FileName);
    QCOMPARE(sheetNames(book), QStringList({"7", "8"}));
    for (int sheet : {0, 1}) {
        QCOMPARE(text(book, sheet, 0, 0), QStringLiteral("account nr."));
        QCOMPARE(text(book, sheet, 0, 1), QStringLiteral("account date"));
        QCOMPARE(text(book, sheet, 3, 0), QStringLiteral("courtnumber"));
        QCOMPARE(text(book, sheet, 3, 1), QStringLiteral("sum of courtrents"));
        QVERIFY(cell(book, sheet, 3, 1)[QStringLiteral("centred")].toBool());
        for (const char* column : {"0", "1", "2", "3"})
            QCOMPARE(sheets(book)[sheet][QStringLiteral("widths")][QLatin1String(column)].toInt(), 5000);
    }
    QCOMPARE(text(book, 0, 1, 0), QStringLiteral("7"));
    QCOMPARE(text(book, 0, 1, 1), DisplayFormat::dateLongTime(closed7));
    QCOMPARE(rowsWithCells(book, 0), QStringList({"1", "2", "4", "5", "6", "8"}));
    QCOMPARE(text(book, 0, 4, 0), QStringLiteral("1"));
    QCOMPARE(number(book, 0, 4, 1), 80.00);
    QCOMPARE(text(book, 0, 5, 0), QStringLiteral("3"));
    QCOMPARE(number(book, 0, 5, 1), 40.00);
    QCOMPARE(text(book, 0, 7, 0), QStringLiteral("daily account"));
    QCOMPARE(number(book, 0, 7, 1), 120.00);

    QCOMPARE(text(book, 1, 1, 0), QStringLiteral("8"));
    QCOMPARE(text(book, 1, 1, 1), DisplayFormat::dateLongTime(closed8));
    // "all daily accounts" only on the last worksheet, two rows below its "daily account".
    QCOMPARE(rowsWithCells(book, 1), QStringList({"1", "2", "4", "5", "7", "9"}));
    QCOMPARE(text(book, 1, 4, 0), QStringLiteral("2"));
    QCOMPARE(number(book, 1, 4, 1), 80.50);
    QCOMPARE(text(book, 1, 6, 0), QStringLiteral("daily account"));
    QCOMPARE(number(book, 1, 6, 1), 80.50);
    QCOMPARE(text(book, 1, 8, 0), QStringLiteral("all daily accounts"));
    QCOMPARE(number(book, 1, 8, 1), 200.50);
    QCOMPARE(cell(book, 1, 8, 1)[QStringLiteral("colour")].toInt(), int(TXLSWrite::Red));
}

void TestExcelExport::courtDetails_data()
{
    QTest::addColumn<Version>("version");
    QTest::newRow("Excel 5.0") << Version::xls50;
    QTest::newRow("Excel 97") << Version::xls97;
}

void TestExcelExport::courtDetails()
{
    QFETCH(Version, version);
    TXLSWrite xls;
    xls.setXLSVersion(version);
    xls.FileName = path(QStringLiteral("details.xls"));
    Answers answers;
    QVERIFY(ExcelExport::run(xls, Layout::CourtDetails, firstDay, lastDay));
    QCOMPARE(answers.asked, QStringList{QStringLiteral("export finished")});

    const QJsonObject book = readBack(xls.FileName);
    QCOMPARE(sheetNames(book), QStringList({"7", "8"}));
    const QStringList headings = {"courtnumber",      "bills", "reservator",
                                  "court calculated", "start", "quaters"};
    for (int column = 0; column < 6; ++column) {
        QCOMPARE(text(book, 0, 3, column), headings[column]);
        QCOMPARE(sheets(book)[1][QStringLiteral("widths")][QString::number(column)].toInt(), 5000);
    }
    QCOMPARE(text(book, 0, 1, 0), QStringLiteral("7"));

    // Court 1's two lines (in the order the store delivers them), its bold red subtotal, then court 3.
    QCOMPARE(rowsWithCells(book, 0), QStringList({"1", "2", "4", "5", "6", "7", "8", "9", "11"}));
    QSet<QString> court1;
    for (int row : {4, 5}) {
        QCOMPARE(text(book, 0, row, 0), QStringLiteral("1"));
        court1.insert(QStringLiteral("%1 %2 %3 %4 %5")
                          .arg(number(book, 0, row, 1))
                          .arg(text(book, 0, row, 2), text(book, 0, row, 3), text(book, 0, row, 4),
                               text(book, 0, row, 5)));
    }
    const double anna = firstDay - 1 + 18.5 / 24, bernd = firstDay - 1 + 19.75 / 24;
    QCOMPARE(
        court1,
        QSet<QString>(
            {QStringLiteral("50 Anna %1 %2 4")
                 .arg(DisplayFormat::dateLongTime(anna), DisplayFormat::dateLongTime(anna - 4 / 96.0)),
             QStringLiteral("30 Bernd %1 %2 3")
                 .arg(DisplayFormat::dateLongTime(bernd), DisplayFormat::dateLongTime(bernd - 3 / 96.0))}));
    QVERIFY(cell(book, 0, 4, 3)[QStringLiteral("centred")].toBool());
    QVERIFY(cell(book, 0, 4, 4)[QStringLiteral("centred")].toBool());
    const QJsonObject subtotalCourt = cell(book, 0, 6, 0);
    QCOMPARE(subtotalCourt[QStringLiteral("value")].toString(), QStringLiteral("1"));
    QVERIFY(subtotalCourt[QStringLiteral("bold")].toBool());
    QCOMPARE(subtotalCourt[QStringLiteral("colour")].toInt(), int(TXLSWrite::Black));
    const QJsonObject subtotal = cell(book, 0, 6, 1);
    QCOMPARE(subtotal[QStringLiteral("value")].toDouble(), 80.00);
    QVERIFY(subtotal[QStringLiteral("bold")].toBool());
    QCOMPARE(subtotal[QStringLiteral("colour")].toInt(), int(TXLSWrite::Red));
    QCOMPARE(cellCount(book, 0), 4 + 6 + 6 + 6 + 2 + 6 + 2 + 2);
    QCOMPARE(text(book, 0, 7, 0), QStringLiteral("3"));
    QCOMPARE(text(book, 0, 7, 2), QStringLiteral("Carla"));
    QCOMPARE(number(book, 0, 7, 1), 40.00);
    QCOMPARE(text(book, 0, 8, 0), QStringLiteral("3"));
    QCOMPARE(number(book, 0, 8, 1), 40.00);
    QCOMPARE(text(book, 0, 10, 0), QStringLiteral("daily account"));
    QCOMPARE(number(book, 0, 10, 1), 120.00);

    QCOMPARE(rowsWithCells(book, 1), QStringList({"1", "2", "4", "5", "6", "7", "9", "11"}));
    QCOMPARE(text(book, 1, 6, 0), QStringLiteral("2"));
    QCOMPARE(number(book, 1, 6, 1), 80.50);
    QCOMPARE(text(book, 1, 8, 0), QStringLiteral("daily account"));
    QCOMPARE(number(book, 1, 8, 1), 80.50);
    QCOMPARE(text(book, 1, 10, 0), QStringLiteral("all daily accounts"));
    QCOMPARE(number(book, 1, 10, 1), 200.50);
}

void TestExcelExport::emptyRangeWritesNoFile_data()
{
    QTest::addColumn<Layout>("layout");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("message");
    const QString lower = QStringLiteral("no datas for excelexport !");
    QTest::newRow("sums, first day after the last") << Layout::AccountSums << lastDay << firstDay << lower;
    QTest::newRow("per court, first day after the last")
        << Layout::CourtSums << lastDay << firstDay << QStringLiteral("No datas for excelexport !");
    QTest::newRow("details, first day after the last")
        << Layout::CourtDetails << lastDay << firstDay << lower;
    // Only an open bill and nothing closed on these days.
    QTest::newRow("sums, days without accounts")
        << Layout::AccountSums << lastDay + 3 << lastDay + 9 << lower;
}

void TestExcelExport::emptyRangeWritesNoFile()
{
    QFETCH(Layout, layout);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, message);
    TestInstallation::exec("insert into Tischabrechnung (Tischnummer, Betrag, Abgerechnet, Einschreibdatum) "
                           "values (4, 12, false, ?)",
                           {lastDay + 4.5});
    TXLSWrite xls;
    xls.FileName = path(QStringLiteral("kept.xls"));
    QFile old(xls.FileName);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("an earlier export");
    old.close();
    Answers answers;
    QVERIFY(!ExcelExport::run(xls, layout, from, to));
    QCOMPARE(answers.asked, QStringList{message});
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("an earlier export"));

    xls.FileName = path(QStringLiteral("new.xls"));
    QVERIFY(!ExcelExport::run(xls, layout, from, to));
    QVERIFY(!QFile::exists(xls.FileName));
}

void TestExcelExport::excel40HoldsOneAccountOnly()
{
    // Two accounts need two worksheets: refused before the file is touched.
    TXLSWrite xls;
    xls.setXLSVersion(Version::xls40);
    xls.FileName = path(QStringLiteral("forty.xls"));
    Answers answers;
    for (Layout layout : {Layout::CourtSums, Layout::CourtDetails})
        QCOMPARE(
            errorOf([&] { ExcelExport::run(xls, layout, firstDay, lastDay); }),
            QStringLiteral("An Excel 4.0 file holds one worksheet only: choose Excel 5.0 or Excel 97 for "
                           "several worksheets"));
    QVERIFY(answers.asked.isEmpty());
    QVERIFY(!QFile::exists(xls.FileName));
    QVERIFY(!xls.isOpen());

    // One account fits: its worksheet ends with the sum of all.
    QVERIFY(ExcelExport::run(xls, Layout::CourtDetails, lastDay, lastDay));
    QCOMPARE(answers.asked, QStringList{QStringLiteral("export finished")});
    const QJsonObject book = readBack(xls.FileName);
    QCOMPARE(book[QStringLiteral("biff")].toInt(), 40);
    QCOMPARE(text(book, 0, 1, 0), QStringLiteral("8"));
    QCOMPARE(number(book, 0, 6, 1), 80.50);
    QCOMPARE(text(book, 0, 10, 0), QStringLiteral("all daily accounts"));
    QCOMPARE(number(book, 0, 10, 1), 80.50);
}

void TestExcelExport::failedExportKeepsTheEarlierFile_data()
{
    QTest::addColumn<Version>("version");
    QTest::addColumn<Layout>("layout");
    QTest::newRow("Excel 4.0, sums") << Version::xls40 << Layout::AccountSums;
    QTest::newRow("Excel 5.0, per court") << Version::xls50 << Layout::CourtSums;
    QTest::newRow("Excel 97, details") << Version::xls97 << Layout::CourtDetails;
}

void TestExcelExport::failedExportKeepsTheEarlierFile()
{
    QFETCH(Version, version);
    QFETCH(Layout, layout);
    TXLSWrite xls;
    xls.setXLSVersion(version);
    xls.FileName = path(QStringLiteral("earlier.xls"));
    Answers answers;
    QVERIFY(ExcelExport::run(xls, Layout::AccountSums, firstDay, lastDay));
    const QByteArray earlier = [&] {
        QFile file(xls.FileName);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    QVERIFY(!earlier.isEmpty());
    // The store fails after the first rows are written.
    int rows = 0;
    const auto failing = [&] {
        if (++rows == 2)
            throw StoreError(QStringLiteral("disk I/O error"));
    };
    QVERIFY_THROWS_EXCEPTION(StoreError, ExcelExport::run(xls, layout, firstDay, lastDay, failing));
    QFile after(xls.FileName);
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.readAll(), earlier);
    QVERIFY(!xls.isOpen());
    QCOMPARE(answers.asked, QStringList{QStringLiteral("export finished")});
}

void TestExcelExport::exportPageWritesTheChosenFile()
{
    Session::Nachkommafaktor = 1; // taken over when the window shows
    Tfrm_abschluesse w;
    w.show();
    QVERIFY(!w.an_excel->isVisible());
    w.pc->setCurrentWidget(w.ts_excel);
    w.ed_excelvondatum->setDate(DayCount::toDate(firstDay));
    w.ed_excelbisdatum->setDate(DayCount::toDate(lastDay));
    w.fe_excel->setText(path(QStringLiteral("page.xls")));
    w.findChild<QRadioButton*>(QStringLiteral("rg_exceltyp_1"))->click();
    w.findChild<QRadioButton*>(QStringLiteral("rg_exporttyp_1"))->click();

    // The animation runs while the export works.
    QStringList asked;
    bool animating = false;
    Messages::setHandler([&](Messages::Kind, const QString& text) {
        asked << text;
        animating = w.an_excel->isVisible() && w.an_excel->isRunning();
        return Messages::Answer::Ok;
    });
    w.btn_excelstart->click();
    Messages::setHandler({});
    QCOMPARE(asked, QStringList{QStringLiteral("export finished")});
    QVERIFY(animating);
    QVERIFY(!w.an_excel->isVisible());
    QVERIFY(!w.an_excel->isRunning());

    QJsonObject book = readBack(w.fe_excel->text());
    QCOMPARE(book[QStringLiteral("biff")].toInt(), 50);
    QCOMPARE(sheetNames(book), QStringList({"7", "8"}));
    QCOMPARE(cell(book, 1, 8, 1)[QStringLiteral("format")].toString(), QStringLiteral("#,##0"));

    // Then the sums alone into an Excel 97 file: one worksheet, whatever the last export left.
    w.findChild<QRadioButton*>(QStringLiteral("rg_exceltyp_2"))->click();
    w.findChild<QRadioButton*>(QStringLiteral("rg_exporttyp_0"))->click();
    Answers answers;
    w.btn_excelstart->click();
    QCOMPARE(answers.asked, QStringList{QStringLiteral("export finished")});
    book = readBack(w.fe_excel->text());
    QCOMPARE(book[QStringLiteral("biff")].toInt(), 80);
    QCOMPARE(sheetNames(book), QStringList{QStringLiteral("Sheet1")});
    QCOMPARE(number(book, 0, 6, 2), 200.50);

    // An empty range: the message of the chosen type, and the file stays as it was.
    const QByteArray before = [&] {
        QFile f(w.fe_excel->text());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    w.findChild<QRadioButton*>(QStringLiteral("rg_exporttyp_1"))->click();
    w.ed_excelvondatum->setDate(DayCount::toDate(lastDay + 1));
    answers.asked.clear();
    w.btn_excelstart->click();
    QCOMPARE(answers.asked, QStringList{QStringLiteral("No datas for excelexport !")});
    QFile after(w.fe_excel->text());
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.readAll(), before);
    QVERIFY(!w.an_excel->isVisible());
}

void TestExcelExport::exportPageKeepsItsChoices()
{
    {
        Tfrm_abschluesse w;
        // The design choices: Excel 97 and the sums of the courts.
        QVERIFY(w.findChild<QRadioButton*>(QStringLiteral("rg_exceltyp_2"))->isChecked());
        QVERIFY(w.findChild<QRadioButton*>(QStringLiteral("rg_exporttyp_1"))->isChecked());
        QCOMPARE(w.exceltyp(), 2);
        QCOMPARE(w.exporttyp(), 1);
        QVERIFY(w.fe_excel->text().endsWith(QStringLiteral("daily_accounts_to_01012002.xls")));
        const QStringList captions = {"EXCEL 40", "EXCEL 50", "EXCEL 97 (2000)"};
        for (int i = 0; i < 3; ++i)
            QCOMPARE(w.findChild<QRadioButton*>(QStringLiteral("rg_exceltyp_%1").arg(i))->text(),
                     captions[i]);
        QCOMPARE(w.findChild<QLabel*>(QStringLiteral("lbl_exportpfad"))->buddy(), w.fe_excel);
        QCOMPARE(w.pc->tabText(w.pc->indexOf(w.ts_excel)), QStringLiteral("Export to Excel"));

        w.ed_excelvondatum->setDate(QDate(2025, 1, 2));
        w.ed_excelbisdatum->setDate(QDate(2025, 2, 3));
        w.fe_excel->setText(path(QStringLiteral("kept.xls")));
        w.findChild<QRadioButton*>(QStringLiteral("rg_exceltyp_0"))->click();
        w.findChild<QRadioButton*>(QStringLiteral("rg_exporttyp_2"))->click();
    }
    Tfrm_abschluesse again;
    QCOMPARE(again.ed_excelvondatum->date(), QDate(2025, 1, 2));
    QCOMPARE(again.ed_excelbisdatum->date(), QDate(2025, 2, 3));
    QCOMPARE(again.fe_excel->text(), path(QStringLiteral("kept.xls")));
    QCOMPARE(again.exceltyp(), 0);
    QCOMPARE(again.exporttyp(), 2);
    QVERIFY(again.ed_excelvondatum->displayFormat().contains(QStringLiteral("yyyy")));
}

void TestExcelExport::exportPageShowsTheSystemsError()
{
    Tfrm_abschluesse w;
    w.show();
    w.ed_excelvondatum->setDate(DayCount::toDate(firstDay));
    w.ed_excelbisdatum->setDate(DayCount::toDate(lastDay));
    w.fe_excel->setText(path(QStringLiteral("missing/folder/accounts.xls")));
    Answers answers;
    w.btn_excelstart->click();
    QCOMPARE(answers.asked.size(), 1);
    QVERIFY(!answers.asked[0].isEmpty());
    QVERIFY(answers.asked[0] != QStringLiteral("export finished"));
    QVERIFY(!QFile::exists(w.fe_excel->text()));
    QVERIFY(!w.an_excel->isVisible());
    QVERIFY(!w.xls_tagesabrechnungen.isOpen());

    // The writer's own texts reach the desk too.
    w.fe_excel->setText(QStringLiteral("  "));
    answers.asked.clear();
    w.btn_excelstart->click();
    QCOMPARE(answers.asked, QStringList{QStringLiteral("Filename is missing")});
}

void TestExcelExport::exportPageOpensTheFileAndItsDialog()
{
    Tfrm_abschluesse w;
    w.show();
    w.fe_excel->setText(path(QStringLiteral("shown.xls")));
    ShellOpen shell;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &shell, "open");
    w.btn_excelansehen->click();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QCOMPARE(shell.opened, QList<QUrl>{QUrl::fromLocalFile(path(QStringLiteral("shown.xls")))});

    // F5 in the path opens the file dialog for Excel files; a name without extension gets ".xls".
    QStringList filters;
    QString suffix;
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        filters = dialog->nameFilters();
        suffix = dialog->defaultSuffix();
        dialog->selectFile(path(QStringLiteral("chosen")));
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    });
    w.pc->setCurrentWidget(w.ts_excel);
    w.fe_excel->setFocus();
    QTest::keyClick(w.fe_excel, Qt::Key_F5);
    QCOMPARE(filters, QStringList({"Excel files (*.xls)", "All files (*)"}));
    QCOMPARE(suffix, QStringLiteral("xls"));
    QCOMPARE(w.fe_excel->text(), path(QStringLiteral("chosen.xls")));
}

QTEST_MAIN(TestExcelExport)
#include "tst_excelexport.moc"
