#include "report/printing.h"
#include "report/report.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Report;

namespace {

Row row(const QString& team, int points, const QString& note = {})
{
    return {
        {QStringLiteral("team"), team}, {QStringLiteral("points"), points}, {QStringLiteral("note"), note}};
}

// A list on A5 with 10 mm margins: 190 mm of paper height minus a 10 mm footer leaves 160 mm
// below a 20 mm page header.
Definition teamList()
{
    Definition d;
    d.name = QStringLiteral("Teams");
    d.paper = QSizeF(148, 210);
    d.margins = QMarginsF(10, 10, 10, 10);
    d.pageHeader = {
        QStringLiteral("pageHeader"), 20, {Element::label(QStringLiteral("head"), 0, 0, "Teams")}};
    d.pageFooter = {
        QStringLiteral("pageFooter"), 10, {Element::field(QStringLiteral("page"), 2, 4, [](const Context& c) {
            return QString::number(c.page);
        })}};
    d.detail = {
        QStringLiteral("detail"), 10, {Element::field(QStringLiteral("points"), 50, 0, [](const Context& c) {
            return c.field(QStringLiteral("points")).toString();
        })}};
    Group g;
    g.field = QStringLiteral("team");
    g.header = {QStringLiteral("teamHeader"), 10, {}};
    g.footer = {QStringLiteral("teamFooter"),
                10,
                {Element::field(QStringLiteral("teamSum"), 0, 0, [](const Context& c) {
                    return QString::number(c.sum(QStringLiteral("points")));
                })}};
    d.groups << g;
    d.summary = {
        QStringLiteral("summary"), 10, {Element::field(QStringLiteral("total"), 0, 0, [](const Context& c) {
            return QString::number(c.sum(QStringLiteral("points")));
        })}};
    return d;
}

QList<Row> rowsOf(const QString& team, int count)
{
    QList<Row> rows;
    for (int i = 1; i <= count; ++i)
        rows << row(team, i);
    return rows;
}

int pdfPageCount(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray pdf = f.readAll();
    return int(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page/") +
               pdf.count("/Type /Page ") + pdf.count("/Type /Page>"));
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT
private slots:
    void groupsCarryTheirSumsAndTheSummaryTheTotal();
    void pagesBreakBetweenBandsWithHeaderFooterAndNumber();
    void groupPlacement_data();
    void groupPlacement();
    void headerMovesWithTheKeptGroupBelowIt();
    void stretchingTextGrowsItsBandAndFrame();
    void textsSizedToTheirTextOrRightAligned();
    void noRowsNoPage();
    void copiesArePagesInThePdf();
    void previewSavesPdf();
};

void TestReport::groupsCarryTheirSumsAndTheSummaryTheTotal()
{
    const Document doc = layout(teamList(), rowsOf("A", 2) + rowsOf("B", 3));
    QCOMPARE(doc.pages.size(), 1);
    const Page& p = doc.pages[0];
    QCOMPARE(p.bandNames(),
             QStringList({"pageHeader", "teamHeader", "detail", "detail", "teamFooter", "teamHeader",
                          "detail", "detail", "detail", "teamFooter", "summary", "pageFooter"}));
    const QList<const Item*> sums = p.itemsNamed(QStringLiteral("teamSum"));
    QCOMPARE(sums.size(), 2);
    QCOMPARE(sums[0]->text, QStringLiteral("3"));
    QCOMPARE(sums[1]->text, QStringLiteral("6"));
    QCOMPARE(p.item(QStringLiteral("total"))->text, QStringLiteral("9"));
    // Bands follow each other from the top margin; the footer sits on the bottom margin.
    QCOMPARE(p.bands[1].top, 30.0);
    QCOMPARE(p.item(QStringLiteral("points"))->rect.topLeft(), QPointF(60, 40));
    QCOMPARE(p.bands.last().top, 190.0);
}

void TestReport::pagesBreakBetweenBandsWithHeaderFooterAndNumber()
{
    // 160 mm hold 16 bands exactly: the header and 15 lines; the 16th line goes over.
    const Document doc = layout(teamList(), rowsOf("A", 16));
    QCOMPARE(doc.pages.size(), 2);
    QCOMPARE(doc.pages[0].bandNames().count("detail"), 15);
    QCOMPARE(doc.pages[1].bandNames(),
             QStringList({"pageHeader", "detail", "teamFooter", "summary", "pageFooter"}));
    QCOMPARE(doc.pages[0].item(QStringLiteral("page"))->text, QStringLiteral("1"));
    QCOMPARE(doc.pages[1].item(QStringLiteral("page"))->text, QStringLiteral("2"));
    for (const Page& p : doc.pages)
        for (const PlacedBand& b : p.bands)
            QVERIFY2(b.top + b.height <= 200.0001, qPrintable(b.name));
}

void TestReport::groupPlacement_data()
{
    QTest::addColumn<bool>("newPage");
    QTest::addColumn<bool>("keepTogether");
    QTest::addColumn<int>("firstTeamLines");
    QTest::addColumn<int>("secondTeamLines");
    QTest::addColumn<QList<int>>("teamHeadersPerPage");

    // B (header, 5 lines, footer: 70 mm) fits below A's 60 mm: both on one page.
    QTest::newRow("plain") << false << false << 4 << 5 << QList<int>{2};
    QTest::newRow("new page per group") << true << false << 4 << 5 << QList<int>{1, 1};
    // After A's 120 mm, B's 70 mm would break: kept together it moves whole to page 2 ...
    QTest::newRow("kept together") << false << true << 10 << 5 << QList<int>{1, 1};
    QTest::newRow("not kept together") << false << false << 10 << 5 << QList<int>{2, 0};
    // ... but a group longer than a page starts where it is.
    QTest::newRow("too long to keep") << false << true << 10 << 20 << QList<int>{2, 0, 0};
}

void TestReport::groupPlacement()
{
    QFETCH(bool, newPage);
    QFETCH(bool, keepTogether);
    QFETCH(int, firstTeamLines);
    QFETCH(int, secondTeamLines);
    QFETCH(QList<int>, teamHeadersPerPage);
    Definition d = teamList();
    d.groups[0].newPage = newPage;
    d.groups[0].keepTogether = keepTogether;
    const Document doc = layout(d, rowsOf("A", firstTeamLines) + rowsOf("B", secondTeamLines));
    QList<int> headers;
    for (const Page& p : doc.pages)
        headers << int(p.bandNames().count(QStringLiteral("teamHeader")));
    QCOMPARE(headers, teamHeadersPerPage);
}

void TestReport::headerMovesWithTheKeptGroupBelowIt()
{
    // Leagues around the teams: a league header right above a team that moves on goes with it.
    Definition d = teamList();
    d.groups[0].keepTogether = true;
    Group league;
    league.field = QStringLiteral("league");
    league.header = {QStringLiteral("leagueHeader"), 10, {}};
    d.groups.prepend(league);
    QList<Row> rows = rowsOf("A", 11) + rowsOf("B", 3);
    for (Row& r : rows)
        r.insert(QStringLiteral("league"), r.value(QStringLiteral("team")) == QStringLiteral("A") ? 1 : 2);
    // League 1: 10 + 10 + 110 + 10 = 140 mm; league 2's header would fit in the 20 mm left, its team
    // of 50 mm would not.
    const Document doc = layout(d, rows);
    QCOMPARE(doc.pages.size(), 2);
    QCOMPARE(doc.pages[0].bandNames().count(QStringLiteral("leagueHeader")), 1);
    QCOMPARE(doc.pages[1].bandNames().mid(0, 3), QStringList({"pageHeader", "leagueHeader", "teamHeader"}));
}

void TestReport::stretchingTextGrowsItsBandAndFrame()
{
    Definition d = teamList();
    Element memo = Element::field(QStringLiteral("note"), 0, 1, [](const Context& c) {
        return c.field(QStringLiteral("note")).toString();
    });
    memo.box.setSize(QSizeF(40, 5));
    memo.stretch = true;
    d.detail.elements << memo << Element::frame(QStringLiteral("box"), QRectF(0, 0, 128, 10));
    const QString longNote = QStringLiteral("a note long enough to need several lines in a box of forty "
                                            "millimetres, as the stock register's memo does");
    const Document doc = layout(d, {row("A", 1, longNote), row("A", 2, QStringLiteral("short"))});
    const Page& p = doc.pages[0];
    const PlacedBand& first = p.bands[2];
    const PlacedBand& second = p.bands[3];
    QCOMPARE(first.name, QStringLiteral("detail"));
    const double grown = wrappedHeight(longNote, Font{}, 40) - 5;
    QVERIFY(grown > 4);
    QCOMPARE(first.height, 10 + grown);
    QCOMPARE(second.top, first.top + first.height);
    QCOMPARE(second.height, 10.0);
    QCOMPARE(p.itemsNamed(QStringLiteral("box"))[0]->rect.height(), 10 + grown);
    QCOMPARE(p.itemsNamed(QStringLiteral("box"))[1]->rect.height(), 10.0);
}

void TestReport::textsSizedToTheirTextOrRightAligned()
{
    Definition d;
    d.paper = QSizeF(100, 100);
    d.printWithoutRows = true;
    Element right = Element::label(QStringLiteral("right"), 0, 2, QStringLiteral("1,234.50"));
    right.alignRight(80);
    Element boxed = Element::label(QStringLiteral("boxed"), 10, 2, QStringLiteral("12"));
    boxed.box.setWidth(30);
    boxed.alignRight(60);
    d.title = {QStringLiteral("title"),
               20,
               {Element::label(QStringLiteral("left"), 5, 2, QStringLiteral("Court - Bill"),
                               Font{QStringLiteral("Arial"), 20, true, true}),
                right, boxed}};
    const Page p = layout(d, {}).pages.value(0);
    const QSizeF big =
        textSize(QStringLiteral("Court - Bill"), Font{QStringLiteral("Arial"), 20, true, true});
    QVERIFY(big.width() > 30 && big.width() < 50);
    QVERIFY(big.height() > 6 && big.height() < 10); // 20 points are 7.1 mm, plus line spacing
    QCOMPARE(p.item(QStringLiteral("left"))->rect, QRectF(QPointF(5, 2), big));
    QCOMPARE(p.item(QStringLiteral("right"))->rect.right(), 80.0);
    QCOMPARE(p.item(QStringLiteral("boxed"))->rect, QRectF(30, 2, 30, textSize("12", Font{}).height()));
}

void TestReport::noRowsNoPage()
{
    const Document doc = layout(teamList(), {});
    QVERIFY(doc.isEmpty());
    QTemporaryDir dir;
    Printing::setPrinterFile(dir.filePath(QStringLiteral("none.pdf")));
    // Nothing to print is no failure, and no blank sheet comes out.
    QVERIFY(Printing::print(doc));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("none.pdf"))));
    Printing::setPrinterFile({});
}

void TestReport::copiesArePagesInThePdf()
{
    Definition d = teamList();
    d.copies = 3;
    const Document doc = layout(d, rowsOf("A", 15));
    QCOMPARE(doc.printedPages().size(), 6);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("teams.pdf"));
    Printing::setPrinterFile(file);
    QVERIFY(Printing::print(doc));
    Printing::setPrinterFile({});
    QCOMPARE(pdfPageCount(file), 6);
}

void TestReport::previewSavesPdf()
{
    const Document doc = layout(teamList(), rowsOf("A", 16));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("saved.pdf"));
    bool asked = false;
    // The preview is modal, and so is the file dialog its save button opens: each is answered
    // from the event loop of the one before.
    QTimer::singleShot(100, [&] {
        QWidget* preview = QApplication::activeModalWidget();
        QVERIFY(preview);
        auto* save = preview->findChild<QAction*>(QStringLiteral("act_savepdf"));
        QVERIFY(save);
        QTimer::singleShot(100, [&] {
            if (auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                asked = true;
                auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                QVERIFY(name);
                name->setText(file);
                static_cast<QDialog*>(files)->accept(); // the file dialog checks the name first
            }
        });
        save->trigger();
        preview->close();
    });
    Printing::preview(doc);
    QVERIFY(asked);
    QCOMPARE(pdfPageCount(file), 2);
}

QTEST_MAIN(TestReport)
#include "tst_report.moc"
