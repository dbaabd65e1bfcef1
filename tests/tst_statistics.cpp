#include "reservations/statistics.h"
#include "reservations/u_statistik.h"
#include "testinstallation.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QTest>

#include <numeric>

using CourtStatistics::CourtShare;

namespace {

// Quarters booked court by court, one reservation per court from 08:00 on: {court, quarters}.
using Bookings = QList<QPair<int, int>>;

void book(const Bookings& bookings)
{
    int number = 0;
    for (const auto& [court, quarters] : bookings) {
        ++number;
        for (int q = 0; q < quarters; ++q)
            TestInstallation::exec(
                "insert into Reservierung (Reservierungsnummer, Datum, Stunde, Viertelstunde, "
                "Platz, Reservierer, Mitgliedsnummer, Prozente, Bezahlt) "
                "values (?, 46000, ?, ?, ?, 'Abel', -17, 0, false)",
                {number, 9 + q / 4, q % 4 + 1, court});
    }
}

} // namespace

class TestStatistics : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void sharesAndMarks_data();
    void sharesAndMarks();
    void markFormat_data();
    void markFormat();
    void closeAndMinimiseBoxesAndTheChartGrows();

private:
    std::unique_ptr<TestInstallation> installation;
};

void TestStatistics::init()
{
    installation = std::make_unique<TestInstallation>();
    QVERIFY2(installation->isValid(), qPrintable(installation->failure()));
}

void TestStatistics::cleanup()
{
    installation.reset();
}

void TestStatistics::sharesAndMarks_data()
{
    QTest::addColumn<Bookings>("bookings");
    QTest::addColumn<QList<int>>("courts");
    QTest::addColumn<QList<double>>("shares");
    QTest::addColumn<QStringList>("marks");
    QTest::newRow("30 and 10 quarters") << Bookings{{1, 30}, {2, 10}} << QList<int>{1, 2}
                                        << QList<double>{75, 25} << QStringList{"75%", "25%"};
    // Whole-number division would give 33 three times: a percent lost.
    QTest::newRow("one row on each of three courts")
        << Bookings{{3, 1}, {1, 1}, {2, 1}} << QList<int>{1, 2, 3}
        << QList<double>{100.0 / 3, 100.0 / 3, 100.0 / 3} << QStringList{"33.3%", "33.3%", "33.3%"};
    QTest::newRow("courts without rows have no bar")
        << Bookings{{7, 1}, {2, 2}, {12, 5}} << QList<int>{2, 7, 12} << QList<double>{25, 12.5, 62.5}
        << QStringList{"25%", "12.5%", "62.5%"};
    QTest::newRow("no reservations") << Bookings{} << QList<int>{} << QList<double>{} << QStringList{};
}

void TestStatistics::sharesAndMarks()
{
    QFETCH(Bookings, bookings);
    QFETCH(QList<int>, courts);
    QFETCH(QList<double>, shares);
    QFETCH(QStringList, marks);
    book(bookings);

    const QList<CourtShare> computed = CourtStatistics::courtShares();
    QCOMPARE(computed.size(), courts.size());
    for (int i = 0; i < computed.size(); ++i) {
        QCOMPARE(computed[i].court, courts[i]);
        QCOMPARE(computed[i].share, shares[i]);
    }
    if (!computed.isEmpty()) {
        const double sum = std::accumulate(computed.cbegin(), computed.cend(), 0.0,
                                           [](double s, const CourtShare& c) { return s + c.share; });
        QCOMPARE(sum, 100.0);
    }

    // The window shows the same bars, labelled by court, and their marks.
    Tfrm_statistik w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.lbl_head->text(), QString("Statistic Courtplaytime"));
    QChart* chart = w.ch_tischzeiten->chart();
    QCOMPARE(chart->title(), QString("Courtplaytime"));
    QVERIFY(!chart->legend()->isVisible());
    auto* series = qobject_cast<QBarSeries*>(chart->series().value(0));
    QVERIFY(series);
    QBarSet* bars = series->barSets().value(0);
    QCOMPARE(bars->count(), courts.size());
    QCOMPARE(bars->color(), QColor(Qt::red));
    auto* axis = qobject_cast<QBarCategoryAxis*>(chart->axes(Qt::Horizontal).value(0));
    QVERIFY(axis);
    QCOMPARE(axis->titleText(), QString("Court Number"));
    QCOMPARE(chart->axes(Qt::Vertical).value(0)->titleText(), QString("Playtime in %"));
    QStringList labels;
    for (int i = 0; i < courts.size(); ++i) {
        QCOMPARE(bars->at(i), shares[i]);
        labels << QString::number(courts[i]);
    }
    QCOMPARE(axis->categories(), labels);
    QCOMPARE(w.marks(), marks);

    // Shown again after a change, the window reads the table afresh.
    w.close();
    book({{4, 1}});
    w.show();
    QCOMPARE(w.bars().size(), courts.contains(4) ? courts.size() : courts.size() + 1);
}

void TestStatistics::markFormat_data()
{
    QTest::addColumn<double>("share");
    QTest::addColumn<double>("sum");
    QTest::addColumn<QString>("mark");
    QTest::newRow("whole") << 75.0 << 100.0 << "75%";
    QTest::newRow("one decimal") << 12.5 << 100.0 << "12.5%";
    QTest::newRow("rounded to one decimal") << 200.0 / 3 << 100.0 << "66.7%";
    QTest::newRow("rounds up to a whole") << 99.96 << 100.0 << "100%";
    QTest::newRow("tiny share") << 0.04 << 100.0 << "0%";
    QTest::newRow("share of a sum that is not 100") << 1.0 << 4.0 << "25%";
    QTest::newRow("empty sum") << 0.0 << 0.0 << "0%";
}

void TestStatistics::markFormat()
{
    QFETCH(double, share);
    QFETCH(double, sum);
    QFETCH(QString, mark);
    QCOMPARE(CourtStatistics::mark(share, sum), mark);
}

void TestStatistics::closeAndMinimiseBoxesAndTheChartGrows()
{
    // It can be put aside while the desk goes on working, and made larger for a closer look.
    Tfrm_statistik w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const Qt::WindowFlags flags = w.windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(flags & Qt::WindowMinimizeButtonHint);
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QCOMPARE(w.windowType(), Qt::Dialog);
    QCOMPARE(w.size(), QSize(640, 480));
    const QSize chart = w.ch_tischzeiten->size();
    w.resize(900, 700);
    QTRY_VERIFY(w.ch_tischzeiten->width() > chart.width() && w.ch_tischzeiten->height() > chart.height());
}

QTEST_MAIN(TestStatistics)
#include "tst_statistics.moc"
