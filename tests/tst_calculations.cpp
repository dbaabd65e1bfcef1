#include "data/calculations.h"
#include "data/daycount.h"
#include "data/session.h"
#include "testinstallation.h"

#include <QTest>

class TestCalculations : public QObject {
    Q_OBJECT
private slots:
    void rounding_data();
    void rounding();
    void roundingRepairsTheFactor();
    void startOfAReservation();
    void courtSet();
    void weekdays();
};

void TestCalculations::rounding_data()
{
    QTest::addColumn<int>("factor");
    QTest::addColumn<double>("amount");
    QTest::addColumn<double>("rounded");
    QTest::newRow("2.5 ties down to even") << 1 << 2.5 << 2.0;
    QTest::newRow("3.5 ties up to even") << 1 << 3.5 << 4.0;
    QTest::newRow("-2.5 ties to even") << 1 << -2.5 << -2.0;
    QTest::newRow("0.125 cents tie to 0.12") << 100 << 0.125 << 0.12;
    QTest::newRow("0.375 cents tie to 0.38") << 100 << 0.375 << 0.38;
    QTest::newRow("no tie rounds to nearest") << 100 << 17.996 << 18.0;
    QTest::newRow("one decimal") << 10 << 12.25 << 12.2;
    QTest::newRow("whole amounts stay") << 100 << 24.0 << 24.0;
}

void TestCalculations::rounding()
{
    QFETCH(int, factor);
    QFETCH(double, amount);
    QFETCH(double, rounded);
    Session::Nachkommafaktor = factor;
    QCOMPARE(fRunden(amount), rounded);
    QCOMPARE(Session::Nachkommafaktor, factor);
}

void TestCalculations::roundingRepairsTheFactor()
{
    for (int broken : {0, 7, 1000}) {
        Session::Nachkommafaktor = broken;
        QCOMPARE(fRunden(1.005 + 0.0001), 1.01);
        QCOMPARE(Session::Nachkommafaktor, 100);
    }
}

void TestCalculations::startOfAReservation()
{
    TestInstallation installation;
    QVERIFY2(installation.isValid(), qPrintable(installation.failure()));
    const int march1 = DayCount::fromDate(QDate(2026, 3, 1));
    // Number 5 lies on courts 4 and 2, not contiguous; its earliest row of all is court 2, 19/3.
    const QList<QVariantList> rows = {{5, march1, 20, 1, 4},
                                      {5, march1, 19, 4, 4},
                                      {5, march1, 19, 3, 2},
                                      {5, march1, 21, 2, 2},
                                      {6, march1, 8, 1, 1}};
    for (const QVariantList& r : rows)
        TestInstallation::exec(
            "insert into Reservierung (Reservierungsnummer, Datum, Stunde, Viertelstunde, Platz, "
            "Bezahlt) values (?, ?, ?, ?, ?, false)",
            r);
    QCOMPARE(DayCount::toDateTime(fStartzeit(5)), QDateTime(QDate(2026, 3, 1), QTime(18, 30)));
    QCOMPARE(fStartzeit(5), march1 + 18.5 / 24.0);
    QCOMPARE(DayCount::toDateTime(fStartzeit(6)), QDateTime(QDate(2026, 3, 1), QTime(7, 0)));
    QCOMPARE(fStartzeit(99), 0.0);
}

void TestCalculations::courtSet()
{
    TestInstallation installation;
    QVERIFY2(installation.isValid(), qPrintable(installation.failure()));
    QCOMPARE(fPlaetze(), CourtSet(0));
    for (int n : {1, 3, 12, 16})
        TestInstallation::exec("insert into Tische (Tischnummer, TypNr) values (?, 1)", {n});
    const CourtSet set = fPlaetze();
    QCOMPARE(set, CourtSet((1u << 1) | (1u << 3) | (1u << 12)));
    QVERIFY(containsCourt(set, 3));
    QVERIFY(!containsCourt(set, 2));
    QVERIFY(!containsCourt(set, 16));
}

void TestCalculations::weekdays()
{
    QCOMPARE(Wochentagskuerzel[1], QString("SO"));
    QCOMPARE(Wochentagskuerzel[4], QString("WE"));
    QCOMPARE(Wochentagskuerzel[7], QString("SA"));
    // 10 December 2026 is a Thursday.
    QCOMPARE(dayOfWeek(DayCount::fromDate(QDate(2026, 12, 10))), 5);
    QCOMPARE(dayOfWeek(DayCount::fromDate(QDate(2026, 12, 13))), 1);
    QCOMPARE(dayOfWeek(0), 7); // 30 December 1899 was a Saturday
}

QTEST_GUILESS_MAIN(TestCalculations)
#include "tst_calculations.moc"
