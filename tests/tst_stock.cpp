#include "answers.h"
#include "data/daycount.h"
#include "data/displayformat.h"
#include "platform/usersettings.h"
#include "refusingtrigger.h"
#include "report/printing.h"
#include "reportpages.h"
#include "stock/stock.h"
#include "stock/u_inventar.h"
#include "testinstallation.h"
#include "ui/fieldform.h"
#include "ui/recordgrid.h"
#include "ui/recordnavigator.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

namespace {

const int day = DayCount::fromDate(QDate(2026, 12, 14));
constexpr double margin = 6.35;

// Three items whose orders by name, by category and by number all differ.
void stockThreeItems()
{
    const QString insert = QStringLiteral(
        "insert into Inventar (Inventar_id, Name, Kategorie, Datum, Lagerbestand, Wert, Beschreibung) "
        "values (?, ?, ?, ?, ?, ?, ?)");
    TestInstallation::exec(insert, {1, "Net", "Supplies", day, 2, 320, "Spare net for court 3"});
    TestInstallation::exec(insert, {2, "Towel", "Court", day - 30, 25, 4.5, QVariant()});
    TestInstallation::exec(
        insert, {3, "Balls", "Sport", day - 2, 144, 1234.5,
                 "Tins of four, pressureless; the open tins go back to the shelf behind the desk, the full "
                 "cartons stay in the store room beside the court light switches until the next delivery"});
}

QList<int> numbersOf(const RecordSet& items)
{
    QList<int> numbers;
    for (int row = 0; row < items.count(); ++row)
        numbers << items.valueAt(row, items.fieldIndex(QStringLiteral("Inventar_id"))).toInt();
    return numbers;
}

QList<int> printedNumbers(const Report::Document& list)
{
    QList<int> numbers;
    for (const Report::Page& page : list.pages)
        for (const Report::Item* item : page.itemsNamed(QStringLiteral("Inventar_id")))
            numbers << item->text.toInt();
    return numbers;
}

Report::Row item(int number, const QString& name, double price, const QString& description)
{
    return {{"Inventar_id", number}, {"Name", name},  {"Kategorie", "Sport"},       {"Datum", day},
            {"Lagerbestand", 12},    {"Wert", price}, {"Beschreibung", description}};
}

} // namespace

class TestStock : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void ordersShownKeptAndPrinted_data();
    void ordersShownKeptAndPrinted();
    void reorderingStoresTheItemBeingTyped();
    void postedItemTakesItsPlaceInTheOrder();
    void typingStartsEditingAndMovingOnStoresIt();
    void postOnClosing_data();
    void postOnClosing();
    void enterMovesOnExceptInTheDescription();
    void gridIsReadOnlyAndCtrlDeleteAsks();
    void listLayout();
    void listRunsOverPages();
    void printShowsThePreviewAndWritesAPdf();

private:
    QLineEdit* edit(const char* name) const
    {
        return qobject_cast<QLineEdit*>(window->form()->control(QLatin1String(name)));
    }
    QRadioButton* order(int choice) const
    {
        return window->rg_order->findChild<QRadioButton*>(QStringLiteral("rg_order_%1").arg(choice));
    }
    void showWindow()
    {
        window->show();
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    std::unique_ptr<TestInstallation> installation;
    std::unique_ptr<Tfrm_inventar> window;
};

void TestStock::init()
{
    installation = std::make_unique<TestInstallation>();
    QVERIFY2(installation->isValid(), qPrintable(installation->failure()));
    DayCount::setCurrentMoment(QDateTime(DayCount::toDate(day), QTime(18, 0)));
    stockThreeItems();
    window = std::make_unique<Tfrm_inventar>();
}

void TestStock::cleanup()
{
    window.reset();
    installation.reset();
}

void TestStock::ordersShownKeptAndPrinted_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QList<int>>("numbers");
    QTest::newRow("Name") << 0 << "Name" << QList<int>{3, 1, 2};
    QTest::newRow("Category") << 1 << "Category" << QList<int>{2, 3, 1};
    QTest::newRow("Item Number") << 2 << "Item Number" << QList<int>{1, 2, 3};
}

void TestStock::ordersShownKeptAndPrinted()
{
    QFETCH(int, choice);
    QFETCH(QString, caption);
    QFETCH(QList<int>, numbers);
    showWindow();
    QCOMPARE(window->rg_order->title(), QString("Order by"));
    QVERIFY(order(0)->isChecked()); // the first choice until another is kept
    QCOMPARE(order(choice)->text(), caption);

    // Another order from the list with the last item current: it reorders at once from the first.
    window->TableInventar()->last();
    QTest::mouseClick(order(choice == 0 ? 1 : 0), Qt::LeftButton);
    QTest::mouseClick(order(choice), Qt::LeftButton);
    QCOMPARE(numbersOf(*window->TableInventar()), numbers);
    QCOMPARE(window->TableInventar()->recNo(), 0);
    QCOMPARE(edit("DBEdit1")->text(), QString::number(numbers.first()));

    const Report::Document list = window->inventoryList();
    QCOMPARE(list.pages.size(), 1);
    QCOMPARE(list.pages[0].item("orderLabel")->text, QString("order by :"));
    QCOMPARE(list.pages[0].item("order")->text, caption);
    QCOMPARE(printedNumbers(list), numbers);

    // The next run opens in the order chosen.
    window->close();
    window = std::make_unique<Tfrm_inventar>();
    showWindow();
    QVERIFY(order(choice)->isChecked());
    QCOMPARE(numbersOf(*window->TableInventar()), numbers);
    QCOMPARE(UserSettings::value("frm_inventar", "rg_order").toInt(), choice);
}

void TestStock::reorderingStoresTheItemBeingTyped()
{
    showWindow();
    window->DBNavigator1->press(RecordNavigator::Insert);
    QTest::keyClicks(edit("DBEdit1"), "4");
    QTest::keyClicks(edit("DBEdit3"), "Grips");
    QTest::keyClicks(edit("DBEdit2"), "Accessories");
    QTest::mouseClick(order(1), Qt::LeftButton);
    QCOMPARE(numbersOf(*window->TableInventar()), (QList<int>{4, 2, 3, 1}));
    QCOMPARE(TestInstallation::scalar("select Name from Inventar where Inventar_id = 4").toString(),
             QString("Grips"));

    // When the table refuses the item, the list stays in its order with the item still in editing.
    addRefusingTrigger("refuse", "Inventar", "update", {}, "Item is locked");
    Answers answers;
    QTest::keyClicks(edit("DBEdit3"), "!");
    QTest::mouseClick(order(2), Qt::LeftButton);
    QCOMPARE(answers.asked.size(), 1);
    QVERIFY2(answers.asked.first().contains("Item is locked"), qPrintable(answers.asked.first()));
    QVERIFY(order(1)->isChecked());
    QCOMPARE(window->TableInventar()->state(), RecordSet::State::Edit);
    QCOMPARE(numbersOf(*window->TableInventar()), (QList<int>{4, 2, 3, 1}));
    QCOMPARE(UserSettings::value("frm_inventar", "rg_order").toInt(), 1);
}

void TestStock::postedItemTakesItsPlaceInTheOrder()
{
    showWindow();
    QAbstractItemModelTester tester(window->DBGrid1->model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(numbersOf(*window->TableInventar()), (QList<int>{3, 1, 2})); // Balls, Net, Towel
    QTest::mouseClick(window->DBNavigator1->button(RecordNavigator::Insert), Qt::LeftButton);
    QTest::keyClicks(edit("DBEdit1"), "4");
    QTest::keyClicks(edit("DBEdit3"), "Grips");
    QTest::mouseClick(window->DBNavigator1->button(RecordNavigator::Post), Qt::LeftButton);
    QCOMPARE(numbersOf(*window->TableInventar()), (QList<int>{3, 4, 1, 2}));
    // The posted item stays the current one, in the fields and in the list.
    QCOMPARE(window->TableInventar()->recNo(), 1);
    QCOMPARE(window->DBGrid1->currentIndex().row(), 1);
    QCOMPARE(edit("DBEdit3")->text(), QString("Grips"));

    // Renamed, an item moves as well: "Towel" becomes "Apron" and goes first.
    window->TableInventar()->last();
    edit("DBEdit3")->setFocus();
    edit("DBEdit3")->selectAll();
    QTest::keyClicks(edit("DBEdit3"), "Apron");
    QTest::mouseClick(window->DBNavigator1->button(RecordNavigator::Post), Qt::LeftButton);
    QCOMPARE(numbersOf(*window->TableInventar()), (QList<int>{2, 3, 4, 1}));
    QCOMPARE(window->TableInventar()->recNo(), 0);
    QCOMPARE(edit("DBEdit1")->text(), QString("2"));
}

void TestStock::typingStartsEditingAndMovingOnStoresIt()
{
    showWindow();
    QToolButton* post = window->DBNavigator1->button(RecordNavigator::Post);
    QToolButton* cancel = window->DBNavigator1->button(RecordNavigator::Cancel);
    QVERIFY(!post->isEnabled());
    QLineEdit* stock = edit("DBEdit4");
    stock->setFocus();
    stock->selectAll();
    QTest::keyClicks(stock, "7");
    QVERIFY(post->isEnabled() && cancel->isEnabled());
    QTest::mouseClick(cancel, Qt::LeftButton);
    QCOMPARE(stock->text(), QString("144")); // item 3, "Balls"

    // Typed, then another item picked in the list: the typed stock is stored with its item.
    stock->setFocus();
    stock->selectAll();
    QTest::keyClicks(stock, "150");
    window->DBGrid1->setCurrentIndex(window->DBGrid1->model()->index(2, 0));
    QCOMPARE(window->TableInventar()->recNo(), 2);
    QCOMPARE(TestInstallation::scalar("select Lagerbestand from Inventar where Inventar_id = 3").toInt(),
             150);
    QCOMPARE(stock->text(), QString("25"));
}

void TestStock::postOnClosing_data()
{
    QTest::addColumn<bool>("inserting");
    QTest::addColumn<bool>("refused");
    QTest::newRow("new item stored") << true << false;
    QTest::newRow("new item refused") << true << true;
    QTest::newRow("changed item stored") << false << false;
    QTest::newRow("changed item refused") << false << true;
}

void TestStock::postOnClosing()
{
    QFETCH(bool, inserting);
    QFETCH(bool, refused);
    if (refused)
        for (const char* change : {"insert", "update"})
            addRefusingTrigger(QStringLiteral("refuse_%1").arg(QLatin1String(change)), "Inventar", change, {},
                               "refused");
    Answers answers;
    showWindow();
    if (inserting) {
        window->DBNavigator1->press(RecordNavigator::Insert);
        QTest::keyClicks(edit("DBEdit1"), "9");
    }
    QTest::keyClicks(edit("DBEdit3"), "Rackets");
    QTest::keyClick(window.get(), Qt::Key_Escape); // presses Close
    QVERIFY(!window->isVisible());
    QVERIFY(!window->TableInventar()->isOpen());
    QCOMPARE(answers.asked, QStringList());

    const int number = inserting ? 9 : 3; // the first by name is item 3, "Balls"
    const QVariant stored =
        TestInstallation::scalar("select Name from Inventar where Inventar_id = ?", {number});
    const QString typed = inserting ? QString("Rackets") : QString("BallsRackets");
    QCOMPARE(stored.toString(), refused ? (inserting ? QString() : QString("Balls")) : typed);
    QCOMPARE(TestInstallation::scalar("select count(*) from Inventar").toInt(),
             inserting && !refused ? 4 : 3);

    // Shown again, the window opens on the stored items, nothing left in editing.
    window->show();
    QCOMPARE(window->TableInventar()->state(), RecordSet::State::Browse);
}

void TestStock::enterMovesOnExceptInTheDescription()
{
    showWindow();
    QLineEdit* name = edit("DBEdit3");
    name->setFocus();
    QTest::keyClick(name, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), edit("DBEdit2"));

    QPlainTextEdit* memo = window->DBMemo1;
    memo->setFocus();
    memo->moveCursor(QTextCursor::End);
    const QString before = memo->toPlainText();
    QTest::keyClicks(memo, "one");
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClick(memo, Qt::Key_Tab);
    QTest::keyClicks(memo, "two");
    QCOMPARE(QApplication::focusWidget(), memo);
    QCOMPARE(memo->toPlainText(), before + "one\n\ttwo");
    // Each field speaks its label.
    QCOMPARE(memo->accessibleName(), QString("Describtion "));
    QCOMPARE(window->findChild<QLabel*>("lbl_beschreibung")->buddy(), memo);
}

void TestStock::gridIsReadOnlyAndCtrlDeleteAsks()
{
    showWindow();
    RecordGrid* grid = window->DBGrid1;
    QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(grid->selectionBehavior(), QAbstractItemView::SelectRows);
    QStringList titles;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        titles << grid->model()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(titles, (QStringList{"Item Nr.", "Name", "Category", "Date", "Stock", "Price"}));

    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(1, 1)); // "Net", item 1
    Answers answers;
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(answers.asked, QStringList{"Delete record?"});
    QCOMPARE(TestInstallation::scalar("select count(*) from Inventar").toInt(), 3);
    answers.answer = Messages::Answer::Yes;
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(TestInstallation::scalar("select count(*) from Inventar where Inventar_id = 1").toInt(), 0);
    QCOMPARE(numbersOf(*window->TableInventar()), (QList<int>{3, 2}));
}

void TestStock::listLayout()
{
    const QString longText =
        QString("Restrung in May, grip replaced, frame checked for cracks. ").repeated(6);
    const Report::Document list =
        Stock::list({item(7, "Racket", 1234.5, longText), item(8, "Grip", -12, QString())}, "Category", day);
    QCOMPARE(list.paper, QSizeF(210, 297));
    QCOMPARE(list.pages.size(), 1);
    const Report::Page& page = list.pages[0];
    QCOMPARE(page.bandNames(), (QStringList{"pageHeader", "detail", "detail", "pageFooter"}));

    // Header: the title centred in its box, "order by :" ending where the caption begins.
    const Report::Item* title = page.item("title");
    QCOMPARE(title->text, QString("Inventory - List"));
    QCOMPARE(title->rect.left(), margin + 69.3);
    QCOMPARE(title->rect.width(), 52.4);
    QCOMPARE(title->alignment, Qt::AlignHCenter);
    QCOMPARE(title->font, Report::Font::sized(20, true));
    QCOMPARE(page.item("orderLabel")->rect.right(), margin + 28.0);
    QCOMPARE(page.item("orderLabel")->alignment, Qt::AlignRight);
    QCOMPARE(page.item("order")->rect.topLeft(), QPointF(margin + 28.6, margin + 13.5));
    QCOMPARE(page.item("printed")->text, DisplayFormat::date(day));
    QCOMPARE(page.item("printed")->rect.topLeft(), QPointF(margin + 164.8, margin + 12.2));
    QCOMPARE(page.item("titleFrame")->rect, QRectF(margin + 0.8, margin + 20.1, 195.5, 5.8));
    QCOMPARE(page.item("head_Price")->rect.topLeft(), QPointF(margin + 184.2, margin + 20.6));
    QVERIFY(page.item("head_Price")->font.bold);

    // Details: the number bold, the amounts right-aligned in their boxes, the price by ",0.00".
    const QList<const Report::Item*> prices = page.itemsNamed("Wert");
    QCOMPARE(prices[0]->text, QString("1,234.50"));
    QCOMPARE(prices[1]->text, QString("-12.00"));
    QCOMPARE(prices[0]->rect.right(), margin + 170.7 + 23.3);
    QCOMPARE(prices[0]->alignment, Qt::AlignRight);
    QCOMPARE(page.item("Lagerbestand")->rect.right(), margin + 152.4 + 17.2);
    QCOMPARE(page.item("Lagerbestand")->text, QString("12"));
    QVERIFY(page.item("Inventar_id")->font.bold);
    QCOMPARE(page.item("Datum")->text, DisplayFormat::date(day));
    const double firstTop = page.bands[1].top;
    QCOMPARE(page.item("Name")->rect.topLeft(), QPointF(margin + 27.8, firstTop + 1.3));

    // The long description wraps, its band grows and the rule under it moves down with it; the
    // item without a description stays lower.
    const Report::Item* memo = page.item("Beschreibung");
    QCOMPARE(memo->rect.topLeft(), QPointF(margin + 27.8, firstTop + 6.4));
    QVERIFY(memo->wrap);
    QVERIFY2(memo->rect.height() > 3 * Report::textSize("X", Report::Font()).height(),
             qPrintable(QString::number(memo->rect.height())));
    const QList<const Report::Item*> rules = page.itemsNamed("rule");
    QCOMPARE(rules.size(), 2);
    QCOMPARE(rules[0]->edges, Qt::BottomEdge);
    QVERIFY(rules[0]->rect.bottom() >= memo->rect.bottom());
    QCOMPARE(rules[0]->rect.bottom(), page.bands[2].top);
    const double line = Report::textSize("X", Report::Font()).height();
    QVERIFY2(page.bands[1].height > page.bands[2].height + 2 * line,
             qPrintable(QString("%1 %2").arg(page.bands[1].height).arg(page.bands[2].height)));

    QCOMPARE(page.item("pageLabel")->text, QString("Page :"));
    QCOMPARE(page.item("page")->text, QString("1"));
    QCOMPARE(page.item("page")->rect.left(), margin + 99.2);
}

void TestStock::listRunsOverPages()
{
    QList<Report::Row> rows;
    for (int i = 1; i <= 60; ++i)
        rows << item(i, QString("Item %1").arg(i), i, QString());
    const Report::Document list = Stock::list(rows, "Item Number", day);
    QVERIFY(list.pages.size() >= 2);
    QList<int> numbers;
    for (int p = 0; p < list.pages.size(); ++p) {
        const Report::Page& page = list.pages[p];
        QCOMPARE(page.bandNames().first(), QString("pageHeader"));
        QCOMPARE(page.bandNames().last(), QString("pageFooter"));
        QCOMPARE(page.item("order")->text, QString("Item Number"));
        QCOMPARE(page.item("page")->text, QString::number(p + 1));
        for (const Report::PlacedBand& band : page.bands)
            if (band.name == "detail")
                QVERIFY(band.top + band.height <= 297 - margin - 9.8 + 0.001);
    }
    numbers = printedNumbers(list);
    QCOMPARE(numbers.size(), 60);
    QCOMPARE(numbers.last(), 60);

    // An empty register still prints its heading.
    const Report::Document empty = Stock::list({}, "Name", day);
    QCOMPARE(empty.pages.size(), 1);
    QCOMPARE(empty.pages[0].bandNames(), (QStringList{"pageHeader", "pageFooter"}));
}

void TestStock::printShowsThePreviewAndWritesAPdf()
{
    showWindow();
    bool previewed = false;
    QTimer::singleShot(0, window.get(), [&] {
        if (QWidget* preview = QApplication::activeModalWidget()) {
            const auto* pages = preview->findChild<QPrintPreviewWidget*>();
            previewed = preview != window.get() && pages && pages->pageCount() == 1;
            preview->close();
        }
    });
    window->btn_ausdruck->click();
    QVERIFY(previewed);

    QTemporaryDir dir;
    const QString file = pdfFile(dir, QStringLiteral("inventory.pdf"));
    QVERIFY(Printing::writePdf(window->inventoryList(), file));
    QFile pdf(file);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.read(5) == "%PDF-");
}

QTEST_MAIN(TestStock)
#include "tst_stock.moc"
