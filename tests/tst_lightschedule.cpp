#include "lights/lightschedule.h"
#include "lights/scheduledcourts.h"
#include "refusingtrigger.h"
#include "testinstallation.h"

#include <QTest>

using namespace LightSchedule;

namespace {

// A Friday; the light spans of the tests are written as times of this day, "+1 " for the next and
// "-1 " for the day before.
const int day = 46366;

// Quarters written "hh:mm" for the quarter that starts then, "+1 hh:mm" on the next day; a range
// "hh:mm-hh:mm" books every quarter from the first start to the end.
std::vector<Quarter> quarters(const QString& text)
{
    std::vector<Quarter> booked;
    for (QString item : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        item = item.trimmed();
        int datum = day;
        if (item.startsWith(QLatin1String("+1 "))) {
            datum += 1;
            item = item.mid(3);
        }
        const QStringList ends = item.split(QLatin1Char('-'));
        const QTime from = QTime::fromString(ends[0], QStringLiteral("hh:mm"));
        const int count =
            ends.size() == 2 ? from.secsTo(QTime::fromString(ends[1], QStringLiteral("hh:mm"))) / 900 : 1;
        for (int i = 0; i < count; ++i) {
            const int minute = from.hour() * 60 + from.minute() + i * 15;
            booked.push_back({datum, minute / 60 + 1, minute % 60 / 15 + 1});
        }
    }
    return booked;
}

Second at(const QString& text)
{
    QString time = text.trimmed();
    int datum = day;
    if (time.startsWith(QLatin1String("+1 ")) || time.startsWith(QLatin1String("-1 "))) {
        datum += time.startsWith(QLatin1Char('+')) ? 1 : -1;
        time = time.mid(3);
    }
    const QTime t =
        QTime::fromString(time, time.size() > 5 ? QStringLiteral("hh:mm:ss") : QStringLiteral("hh:mm"));
    return Second(datum) * 86400 + t.msecsSinceStartOfDay() / 1000;
}

// Spans written "hh:mm-hh:mm", separated by commas.
std::vector<Span> spans(const QString& text)
{
    std::vector<Span> all;
    for (const QString& item : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        // The dash between the two times follows a digit; one before a day does not.
        int dash = 1;
        while (!(item[dash] == QLatin1Char('-') && item[dash - 1].isDigit()))
            ++dash;
        all.push_back({at(item.left(dash)), at(item.mid(dash + 1))});
    }
    return all;
}

QString written(const std::vector<Span>& all)
{
    QStringList texts;
    for (const Span& s : all) {
        auto text = [](Second moment) {
            const Second inDay = moment - Second(day) * 86400;
            const QString time =
                QTime(0, 0).addSecs(int((inDay + 86400) % 86400)).toString(QStringLiteral("hh:mm"));
            return inDay >= 86400 ? QStringLiteral("+1 ") + time
                   : inDay < 0    ? QStringLiteral("-1 ") + time
                                  : time;
        };
        texts << text(s.on) + QLatin1Char('-') + text(s.off);
    }
    return texts.join(QLatin1Char(','));
}

} // namespace

class TestLightSchedule : public QObject {
    Q_OBJECT
private slots:
    void spansOfACourt_data();
    void spansOfACourt();
    void stateAndNextChange_data();
    void stateAndNextChange();
    void quarterStartsAreExactSeconds();
    void courtsAroundADayFromTheStore();
    void installationWithoutTheSettingsReadsThemOff();
};

void TestLightSchedule::spansOfACourt_data()
{
    QTest::addColumn<QString>("booked");
    QTest::addColumn<int>("runUp");
    QTest::addColumn<int>("runDown");
    QTest::addColumn<int>("anschluss");
    QTest::addColumn<bool>("automatic");
    QTest::addColumn<QString>("lit");
    QTest::newRow("one booking") << "18:00-19:00" << 5 << 5 << 3 << true << "17:55-19:05";
    QTest::newRow("back-to-back bookings, in any order")
        << "19:00-20:00,18:00-19:00" << 5 << 5 << 3 << true << "17:55-20:05";
    QTest::newRow("a gap the run-down and run-up close")
        << "18:00-18:30,18:45-19:00" << 10 << 10 << 3 << true << "17:50-19:10";
    QTest::newRow("a gap they leave open")
        << "18:00-18:30,18:45-19:00" << 5 << 2 << 3 << true << "17:55-18:32,18:40-19:02";
    QTest::newRow("a gap of exactly run-up and run-down")
        << "18:00-18:30,18:45-19:00" << 10 << 5 << 3 << true << "17:50-19:05";
    QTest::newRow("across midnight") << "23:30,23:45,+1 00:00-00:30" << 5 << 5 << 3 << true
                                     << "23:25-+1 00:35";
    QTest::newRow("run-up 0") << "08:00-08:15" << 0 << 5 << 3 << true << "08:00-08:20";
    QTest::newRow("run-up 30, run-down 30") << "08:00-08:15" << 30 << 30 << 3 << true << "07:30-08:45";
    QTest::newRow("the first quarter of the day") << "00:00-00:15" << 5 << 5 << 3 << true << "-1 23:55-00:20";
    QTest::newRow("no booking") << "" << 5 << 5 << 3 << true << "";
    QTest::newRow("a court without an output") << "18:00-19:00" << 5 << 5 << 0 << true << "";
    QTest::newRow("an output beyond the modules") << "18:00-19:00" << 5 << 5 << 41 << true << "";
    QTest::newRow("a court not switched with its bookings") << "18:00-19:00" << 5 << 5 << 3 << false << "";
}

void TestLightSchedule::spansOfACourt()
{
    QFETCH(QString, booked);
    QFETCH(int, runUp);
    QFETCH(int, runDown);
    QFETCH(int, anschluss);
    QFETCH(bool, automatic);
    QFETCH(QString, lit);
    Court court{anschluss, automatic, runUp, runDown, quarters(booked)};
    QCOMPARE(written(courtSpans(court)), lit);
    QVERIFY(courtSpans(court) == spans(lit));
}

void TestLightSchedule::stateAndNextChange_data()
{
    QTest::addColumn<QString>("now");
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("next"); // empty: no change any more
    // Court 3 booked 18:00 to 20:00 and 21:00 to 21:30, run-up and run-down 5 minutes.
    QTest::newRow("afternoon") << "16:00" << false << "17:55";
    QTest::newRow("a second before the run-up") << "17:54:59" << false << "17:55";
    QTest::newRow("at the run-up") << "17:55" << true << "20:05";
    QTest::newRow("between the two bookings that run into each other") << "19:00" << true << "20:05";
    QTest::newRow("the last second lit") << "20:04:59" << true << "20:05";
    QTest::newRow("at the run-down") << "20:05" << false << "20:55";
    QTest::newRow("the second booking") << "21:10" << true << "21:35";
    QTest::newRow("after everything") << "22:00" << false << "";
}

void TestLightSchedule::stateAndNextChange()
{
    QFETCH(QString, now);
    QFETCH(bool, on);
    QFETCH(QString, next);
    const std::vector<Span> evening = lightSpans(quarters("18:00-19:00,19:00-20:00,21:00-21:30"), 5, 5);
    QCOMPARE(stateAt(evening, at(now)), (State{on, next.isEmpty() ? -1 : at(next)}));
}

void TestLightSchedule::quarterStartsAreExactSeconds()
{
    // The stored moments are day counts with the time as a fraction: 17:55 of a day read back from
    // a double lands on its second, never a second early.
    const double moment = day + (17 * 60 + 55) / 1440.0;
    QCOMPARE(secondOf(moment), at("17:55"));
    QCOMPARE(quarterStart({day, 19, 1}), at("18:00"));
    QCOMPARE(quarterStart({day, 24, 4}), at("23:45"));
}

namespace {

// Court 3 switches with its bookings (output 3, 10 minutes before, none after); court 5 does not
// and has no minutes stored. Bookings on court 3 the evening before, today and in two days, and
// on court 9, which has no row in Tische.
void bookAnEvening()
{
    TestInstallation::exec(
        "insert into Tische (Tischnummer, TypNr, Anschluss, Lichtautomatik, Vorlauf, Nachlauf) "
        "values (3, 1, 3, true, 10, 0)");
    TestInstallation::exec("insert into Tische (Tischnummer, TypNr, Anschluss) values (5, 1, 5)");
    const QList<QVariantList> rows{{1, day - 1, 24, 4, 3}, {2, day, 19, 1, 3}, {2, day, 19, 2, 3},
                                   {3, day + 2, 19, 1, 3}, {4, day, 19, 1, 9}, {5, day + 1, 1, 1, 5}};
    for (const QVariantList& r : rows)
        TestInstallation::exec(
            "insert into Reservierung (Reservierungsnummer, Datum, Stunde, Viertelstunde, "
            "Platz, Reservierer, Mitgliedsnummer, Prozente, Bezahlt) values (?, ?, ?, ?, ?, "
            "'x', -17, 0, false)",
            r);
}

} // namespace

void TestLightSchedule::courtsAroundADayFromTheStore()
{
    TestInstallation installation;
    QVERIFY2(installation.isValid(), qPrintable(installation.failure()));
    bookAnEvening();
    const std::map<int, Court> courts = courtsAround(day);
    QCOMPARE(courts.size(), std::size_t(2));
    const Court& three = courts.at(3);
    QCOMPARE(three.anschluss, 3);
    QVERIFY(three.automatic);
    QCOMPARE(three.runUp, 10);
    QCOMPARE(three.runDown, 0);
    // The evening before and today; the day after next is no concern of today's light.
    QCOMPARE(three.booked.size(), std::size_t(3));
    QCOMPARE(written(courtSpans(three)), QStringLiteral("-1 23:35-00:00,17:50-18:30"));
    const Court& five = courts.at(5);
    QVERIFY(!five.automatic);
    QCOMPARE(five.runUp, 5);
    QCOMPARE(five.runDown, 5);
    QCOMPARE(five.booked.size(), std::size_t(1));
    QVERIFY(courtSpans(five).empty());
}

void TestLightSchedule::installationWithoutTheSettingsReadsThemOff()
{
    TestInstallation installation;
    QVERIFY2(installation.isValid(), qPrintable(installation.failure()));
    bookAnEvening();
    for (const char* field : {"Lichtautomatik", "Vorlauf", "Nachlauf"})
        execUnprepared(QStringLiteral("alter table Tische drop column %1").arg(QLatin1String(field)));
    const Court& three = courtsAround(day).at(3);
    QVERIFY(!three.automatic);
    QCOMPARE(three.runUp, 5);
    QCOMPARE(three.runDown, 5);
    QCOMPARE(three.anschluss, 3);
}

QTEST_GUILESS_MAIN(TestLightSchedule)
#include "tst_lightschedule.moc"
