#include "xls/xlswriter.h"
#include "xlsreadback.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using Version = TXLSWrite::Version;
Q_DECLARE_METATYPE(TXLSWrite::Version)

class TestXls : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(dir_.isValid()); }

    void workbookCellsAndFormats_data();
    void workbookCellsAndFormats();
    void excel40WorksheetFile();
    void remainingSheetsAreWrittenEmpty_data();
    void remainingSheetsAreWrittenEmpty();
    void longStringsSpanContinueRecords();
    void stringLengthLimits_data();
    void stringLengthLimits();
    void errorTexts_data();
    void errorTexts();
    void fileThatCannotBeCreated();
    void unfinishedFileKeepsTheEarlierOne_data();
    void unfinishedFileKeepsTheEarlierOne();

private:
    QString path(const QString& name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
};

void TestXls::workbookCellsAndFormats_data()
{
    QTest::addColumn<Version>("version");
    QTest::addColumn<int>("factor");
    QTest::addColumn<QString>("money");
    QTest::addColumn<int>("biff");
    QTest::newRow("Excel 5.0, factor 1") << Version::xls50 << 1 << "#,##0" << 50;
    QTest::newRow("Excel 5.0, factor 100") << Version::xls50 << 100 << "#,##0.00" << 50;
    QTest::newRow("Excel 97, factor 1") << Version::xls97 << 1 << "#,##0" << 80;
    QTest::newRow("Excel 97, factor 10") << Version::xls97 << 10 << "#,##0.00" << 80;
}

void TestXls::workbookCellsAndFormats()
{
    QFETCH(Version, version);
    QFETCH(int, factor);
    QFETCH(QString, money);
    QFETCH(int, biff);

    TXLSWrite xls;
    xls.setXLSVersion(version);
    xls.setNachkommafaktor(factor);
    xls.FileName = path(QStringLiteral("accounts.xls"));
    xls.Sheets = {QStringLiteral("7"), QStringLiteral("8")};
    xls.OpenFile();
    xls.SetColumnWidths(0, 3, 5000, 5);
    xls.WriteText(0, 0, 4, QStringLiteral("account nr."));
    xls.WriteText(1, 0, 4, QStringLiteral("Café €"));
    xls.WriteText(0, 1, 0, QStringLiteral("7"));
    xls.WriteNumber(1, 1, 1, 120.0);
    xls.WriteText(2, 1, 0, QString()); // writes nothing
    xls.WriteText(0, 4, 6, QStringLiteral("3"));
    xls.WriteNumber(1, 4, 7, 1234.5);
    xls.WriteNumber(2, 4, 0, 2.0);
    xls.WriteNumber(2, 4, 9, -3.25); // the last write of a cell counts
    xls.NextSheet();
    xls.WriteText(0, 2, 0, QStringLiteral("account nr.")); // the same text again, on the next sheet
    xls.WriteNumber(1, 2, 2, 80.5);
    xls.CloseFile();
    QVERIFY(!xls.isOpen());

    const QJsonObject book = readBack(xls.FileName);
    QCOMPARE(book[QStringLiteral("biff")].toInt(), biff);
    // Small as it is, the workbook stream lies in the container's normal sectors, as Excel's own do.
    QCOMPARE(book[QStringLiteral("streamSize")].toInt(), 4096);
    const QJsonArray sheets = book[QStringLiteral("sheets")].toArray();
    QCOMPARE(sheets.size(), 2);
    QCOMPARE(sheets[0][QStringLiteral("name")].toString(), QStringLiteral("7"));
    QCOMPARE(sheets[1][QStringLiteral("name")].toString(), QStringLiteral("8"));
    QCOMPARE(sheets[0][QStringLiteral("cells")].toObject().size(), 7);
    QCOMPARE(sheets[1][QStringLiteral("cells")].toObject().size(), 2);
    for (int column = 0; column <= 3; ++column)
        QCOMPARE(sheets[0][QStringLiteral("widths")][QString::number(column)].toInt(), 5000);
    QVERIFY(sheets[1][QStringLiteral("widths")].toObject().isEmpty());
    QCOMPARE(sheets[0][QStringLiteral("window")].toArray(), QJsonArray({true, true, true}));
    QCOMPARE(sheets[1][QStringLiteral("window")].toArray(), QJsonArray({true, true, false}));

    const QJsonObject heading = cell(book, 0, 0, 0);
    QCOMPARE(heading[QStringLiteral("value")].toString(), QStringLiteral("account nr."));
    QVERIFY(heading[QStringLiteral("centred")].toBool());
    QVERIFY(heading[QStringLiteral("top")].toBool());
    QCOMPARE(heading[QStringLiteral("borders")].toArray(), QJsonArray({1, 1, 1, 1, 8, 8, 8, 8}));
    QCOMPARE(heading[QStringLiteral("font")].toString(), QStringLiteral("Arial"));
    QCOMPARE(cell(book, 0, 0, 1)[QStringLiteral("value")].toString(), QStringLiteral("Café €"));

    const QJsonObject account = cell(book, 0, 1, 0);
    QVERIFY(account[QStringLiteral("text")].toBool());
    QCOMPARE(account[QStringLiteral("value")].toString(), QStringLiteral("7"));
    QCOMPARE(account[QStringLiteral("format")].toString(), QStringLiteral("General"));

    const QJsonObject sum = cell(book, 0, 1, 1);
    QVERIFY(!sum[QStringLiteral("text")].toBool());
    QCOMPARE(sum[QStringLiteral("value")].toDouble(), 120.0);
    QCOMPARE(sum[QStringLiteral("format")].toString(), money);
    QCOMPARE(sum[QStringLiteral("colour")].toInt(), TXLSWrite::Red);
    QVERIFY(!sum[QStringLiteral("bold")].toBool());
    QVERIFY(!sum[QStringLiteral("centred")].toBool());

    const QJsonObject courtSubtotal = cell(book, 0, 4, 0);
    QVERIFY(courtSubtotal[QStringLiteral("bold")].toBool());
    QCOMPARE(courtSubtotal[QStringLiteral("colour")].toInt(), TXLSWrite::Black);
    const QJsonObject redBold = cell(book, 0, 4, 1);
    QVERIFY(redBold[QStringLiteral("bold")].toBool());
    QCOMPARE(redBold[QStringLiteral("colour")].toInt(), TXLSWrite::Red);
    QCOMPARE(redBold[QStringLiteral("value")].toDouble(), 1234.5);
    const QJsonObject boldNoBorder = cell(book, 0, 4, 2);
    QCOMPARE(boldNoBorder[QStringLiteral("value")].toDouble(), -3.25);
    const QJsonArray noLines = boldNoBorder[QStringLiteral("borders")].toArray();
    QCOMPARE(QJsonArray({noLines[0], noLines[1], noLines[2], noLines[3]}), QJsonArray({0, 0, 0, 0}));
    QCOMPARE(boldNoBorder[QStringLiteral("format")].toString(), money);

    QCOMPARE(cell(book, 1, 2, 0)[QStringLiteral("value")].toString(), QStringLiteral("account nr."));
    const QJsonObject blue = cell(book, 1, 2, 1);
    QCOMPARE(blue[QStringLiteral("value")].toDouble(), 80.5);
    QCOMPARE(blue[QStringLiteral("colour")].toInt(), TXLSWrite::Blue);
}

void TestXls::excel40WorksheetFile()
{
    TXLSWrite xls;
    xls.setXLSVersion(Version::xls40);
    xls.setNachkommafaktor(1);
    xls.FileName = path(QStringLiteral("accounts40.xls"));
    xls.OpenFile();
    xls.SetColumnWidths(0, 0, 3000, 5);
    xls.SetColumnWidths(1, 4, 5000, 5);
    xls.WriteText(1, 6, 0, QStringLiteral("Sum of all"));
    xls.WriteNumber(2, 6, 1, 200.5);
    xls.WriteText(0, 3, 0, QStringLiteral("7"));
    QCOMPARE(errorOf([&] { xls.NextSheet(); }), QStringLiteral("Sheet index out of range"));
    xls.CloseFile();

    QFile file(xls.FileName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(2), QByteArray("\x09\x04", 2)); // a worksheet file, no compound document

    const QJsonObject book = readBack(xls.FileName);
    QCOMPARE(book[QStringLiteral("biff")].toInt(), 40);
    const QJsonArray sheets = book[QStringLiteral("sheets")].toArray();
    QCOMPARE(sheets.size(), 1);
    QCOMPARE(sheets[0][QStringLiteral("cells")].toObject().size(), 3);
    QCOMPARE(sheets[0][QStringLiteral("widths")][QStringLiteral("0")].toInt(), 3000);
    QCOMPARE(sheets[0][QStringLiteral("widths")][QStringLiteral("4")].toInt(), 5000);
    QCOMPARE(cell(book, 0, 6, 1)[QStringLiteral("value")].toString(), QStringLiteral("Sum of all"));
    const QJsonObject sum = cell(book, 0, 6, 2);
    QCOMPARE(sum[QStringLiteral("value")].toDouble(), 200.5);
    // Excel 4.0 cells keep the default format.
    QCOMPARE(sum[QStringLiteral("format")].toString(), QStringLiteral("General"));
    QCOMPARE(sum[QStringLiteral("colour")].toInt(), TXLSWrite::Black);
    QCOMPARE(cell(book, 0, 3, 0)[QStringLiteral("value")].toString(), QStringLiteral("7"));
}

void TestXls::remainingSheetsAreWrittenEmpty_data()
{
    QTest::addColumn<Version>("version");
    QTest::newRow("Excel 5.0") << Version::xls50;
    QTest::newRow("Excel 97") << Version::xls97;
}

void TestXls::remainingSheetsAreWrittenEmpty()
{
    QFETCH(Version, version);
    const QString file = path(QStringLiteral("three.xls"));
    QFile old(file);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(100000, 'x')); // an existing file is replaced, not patched
    old.close();

    TXLSWrite xls;
    xls.setXLSVersion(version);
    xls.FileName = file;
    xls.Sheets = {QStringLiteral("first"), QStringLiteral("second"), QStringLiteral("third")};
    xls.options.gridlines = false;
    xls.OpenFile();
    xls.WriteNumber(0, 0, 3, 1.5);
    xls.CloseFile();
    xls.CloseFile(); // closing a closed file does nothing

    const QJsonArray sheets = readBack(file)[QStringLiteral("sheets")].toArray();
    QCOMPARE(sheets.size(), 3);
    QCOMPARE(sheets[2][QStringLiteral("name")].toString(), QStringLiteral("third"));
    QCOMPARE(sheets[0][QStringLiteral("cells")].toObject().size(), 1);
    QVERIFY(sheets[1][QStringLiteral("cells")].toObject().isEmpty());
    QVERIFY(sheets[2][QStringLiteral("cells")].toObject().isEmpty());
    QCOMPARE(sheets[2][QStringLiteral("window")].toArray(), QJsonArray({false, true, false}));
}

void TestXls::longStringsSpanContinueRecords()
{
    // Texts far beyond one record: 8-bit and UTF-16, and enough short ones after them that the
    // shared string table crosses several record boundaries at every kind of position.
    const QString latin = QString(20000, QLatin1Char('a')) + QStringLiteral("ende");
    QString wide;
    for (int i = 0; i < 9001; ++i)
        wide.append(QChar(0x0410 + i % 32));
    QStringList names;
    for (int i = 0; i < 3000; ++i)
        names.append(
            QStringLiteral("Reservierer %1 %2").arg(i).arg(i % 7 == 0 ? QStringLiteral("Ž") : QString()));

    TXLSWrite xls;
    xls.FileName = path(QStringLiteral("long.xls"));
    xls.OpenFile();
    xls.WriteText(0, 0, 0, latin);
    xls.WriteText(1, 0, 0, wide);
    for (int i = 0; i < names.size(); ++i)
        xls.WriteText(2, i, 0, names[i]);
    xls.WriteText(3, 0, 0, QString(32767, QLatin1Char('z')));
    xls.CloseFile();

    const QJsonObject book = readBack(xls.FileName);
    QCOMPARE(book[QStringLiteral("longestRecord")].toInt(), 8224); // filled to the limit, never beyond
    QCOMPARE(cell(book, 0, 0, 0)[QStringLiteral("value")].toString(), latin);
    QCOMPARE(cell(book, 0, 0, 1)[QStringLiteral("value")].toString(), wide);
    QCOMPARE(cell(book, 0, 0, 3)[QStringLiteral("value")].toString(), QString(32767, QLatin1Char('z')));
    for (int i = 0; i < names.size(); ++i)
        QCOMPARE(cell(book, 0, i, 2)[QStringLiteral("value")].toString(), names[i]);
}

void TestXls::stringLengthLimits_data()
{
    QTest::addColumn<Version>("version");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("error");
    const QString over255 = QStringLiteral("Cell R3,C2: String length more than 255 bytes");
    QTest::newRow("Excel 4.0, 255 bytes") << Version::xls40 << QString(255, QLatin1Char('x')) << QString();
    QTest::newRow("Excel 4.0, 256 bytes") << Version::xls40 << QString(256, QChar(0x20AC)) << over255;
    QTest::newRow("Excel 5.0, 255 bytes") << Version::xls50 << QString(255, QChar(0xE9)) << QString();
    QTest::newRow("Excel 5.0, 256 bytes") << Version::xls50 << QString(256, QLatin1Char('x')) << over255;
    QTest::newRow("Excel 97, 32767") << Version::xls97 << QString(32767, QLatin1Char('x')) << QString();
    QTest::newRow("Excel 97, 32768") << Version::xls97 << QString(32768, QLatin1Char('x'))
                                     << QStringLiteral("Cell R3,C2: String length more than 32767 bytes");
}

void TestXls::stringLengthLimits()
{
    QFETCH(Version, version);
    QFETCH(QString, text);
    QFETCH(QString, error);
    TXLSWrite xls;
    xls.setXLSVersion(version);
    xls.FileName = path(QStringLiteral("limit.xls"));
    xls.OpenFile();
    QCOMPARE(errorOf([&] { xls.WriteText(1, 2, 0, text); }), error);
    xls.CloseFile();
    const QJsonObject book = readBack(xls.FileName);
    QVERIFY(book[QStringLiteral("longestRecord")].toInt() <= (version == Version::xls97 ? 8224 : 2080));
    const QJsonObject written = cell(book, 0, 2, 1);
    QCOMPARE(written[QStringLiteral("value")].toString(), error.isEmpty() ? text : QString());
}

void TestXls::errorTexts_data()
{
    QTest::addColumn<Version>("version");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("error");
    for (const Version v : {Version::xls40, Version::xls50, Version::xls97}) {
        const QString name = v == Version::xls40   ? QStringLiteral("Excel 4.0: ")
                             : v == Version::xls50 ? QStringLiteral("Excel 5.0: ")
                                                   : QStringLiteral("Excel 97: ");
        const auto row = [&](const char* what) -> QTestData& {
            return QTest::newRow(qPrintable(name + QLatin1String(what)));
        };
        row("text before open") << v << "text"
                                << "Can not write cells when file is closed";
        row("number before open") << v << "number"
                                  << "Can not write cells when file is closed";
        row("widths before open") << v << "widths"
                                  << "Can not write cells when file is closed";
        row("next sheet before open") << v << "next"
                                      << "Call to NextSheet without OpenFile";
        row("past the last sheet") << v << "openNextNext"
                                   << "Sheet index out of range";
        row("empty sheet name") << v << "emptySheet"
                                << "Sheet Name is missing";
        row("blank file name") << v << "blankName"
                               << "Filename is missing";
        row("version while open") << v << "openVersion"
                                  << "Version can not be changed while file is open";
    }
    QTest::newRow("Excel 4.0: open twice") << Version::xls40 << "openOpen"
                                           << "File is already open";
    QTest::newRow("Excel 4.0: several sheets")
        << Version::xls40 << "severalSheets"
        << "An Excel 4.0 file holds one worksheet only: choose Excel 5.0 or Excel 97 for several worksheets";
    QTest::newRow("Excel 5.0: open twice") << Version::xls50 << "openOpen"
                                           << "File is allready open";
    QTest::newRow("Excel 97: open twice") << Version::xls97 << "openOpen"
                                          << "File is allready open";
}

void TestXls::errorTexts()
{
    QFETCH(Version, version);
    QFETCH(QString, action);
    QFETCH(QString, error);
    TXLSWrite xls;
    xls.setXLSVersion(version);
    xls.FileName = path(QStringLiteral("errors.xls"));
    const QStringList sheets = version == Version::xls40
                                   ? QStringList{QStringLiteral("one")}
                                   : QStringList{QStringLiteral("one"), QStringLiteral("two")};
    xls.Sheets = sheets;
    const std::map<QString, std::function<void()>> actions = {
        {QStringLiteral("text"), [&] { xls.WriteText(0, 0, 0, QStringLiteral("x")); }},
        {QStringLiteral("number"), [&] { xls.WriteNumber(0, 0, 0, 1.0); }},
        {QStringLiteral("widths"), [&] { xls.SetColumnWidths(0, 1, 3000, 5); }},
        {QStringLiteral("next"), [&] { xls.NextSheet(); }},
        {QStringLiteral("openNextNext"),
         [&] {
             xls.OpenFile();
             xls.NextSheet();
             xls.NextSheet();
         }},
        {QStringLiteral("emptySheet"),
         [&] {
             xls.Sheets = {QStringLiteral("one"), QString()};
             xls.FileName.clear(); // the sheet names are checked first
             xls.OpenFile();
         }},
        {QStringLiteral("blankName"),
         [&] {
             xls.FileName = QStringLiteral("   ");
             xls.OpenFile();
         }},
        {QStringLiteral("openVersion"),
         [&] {
             xls.OpenFile();
             xls.setXLSVersion(version == Version::xls97 ? Version::xls50 : Version::xls97);
         }},
        {QStringLiteral("severalSheets"),
         [&] {
             xls.Sheets = {QStringLiteral("7"), QStringLiteral("8")};
             xls.OpenFile();
         }},
        {QStringLiteral("openOpen"),
         [&] {
             xls.OpenFile();
             xls.OpenFile();
         }},
    };
    QCOMPARE(errorOf(actions.at(action)), error);
    QCOMPARE(xls.XLSVersion(), version);
    if (xls.isOpen()) {
        // The refused call leaves the open file intact: it still completes into a readable workbook.
        xls.CloseFile();
        QCOMPARE(readBack(xls.FileName)[QStringLiteral("sheets")].toArray().size(), sheets.size());
    }
}

void TestXls::fileThatCannotBeCreated()
{
    TXLSWrite xls;
    xls.FileName = path(QStringLiteral("missing/folder/accounts.xls"));
    QVERIFY(!errorOf([&] { xls.OpenFile(); }).isEmpty());
    QVERIFY(!xls.isOpen());
    QCOMPARE(errorOf([&] { xls.WriteText(0, 0, 0, QStringLiteral("x")); }),
             QStringLiteral("Can not write cells when file is closed"));
    QVERIFY(!QFile::exists(xls.FileName));
}

void TestXls::unfinishedFileKeepsTheEarlierOne_data()
{
    QTest::addColumn<Version>("version");
    QTest::newRow("Excel 4.0") << Version::xls40;
    QTest::newRow("Excel 5.0") << Version::xls50;
    QTest::newRow("Excel 97") << Version::xls97;
}

void TestXls::unfinishedFileKeepsTheEarlierOne()
{
    QFETCH(Version, version);
    QTemporaryDir folder;
    const QString name = folder.filePath(QStringLiteral("accounts.xls"));
    const QByteArray earlier("an earlier export");
    const auto content = [&] {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    {
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(earlier);
    }
    {
        TXLSWrite xls;
        xls.setXLSVersion(version);
        xls.FileName = name;
        xls.OpenFile();
        xls.WriteText(0, 0, 0, QStringLiteral("half"));
        QCOMPARE(content(), earlier);
        xls.CancelFile();
        QCOMPARE(content(), earlier);
        // A writer that ends without closing drops its file as well.
        xls.OpenFile();
        xls.WriteNumber(0, 1, 0, 2.5);
    }
    QCOMPARE(content(), earlier);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("accounts.xls")});

    TXLSWrite xls;
    xls.setXLSVersion(version);
    xls.FileName = name;
    xls.OpenFile();
    xls.WriteText(0, 0, 0, QStringLiteral("whole"));
    xls.CloseFile();
    QCOMPARE(cell(readBack(name), 0, 0, 0)[QStringLiteral("value")].toString(), QStringLiteral("whole"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("accounts.xls")});
}

QTEST_GUILESS_MAIN(TestXls)
#include "tst_xls.moc"
