// The court plan's running-time refresh of twelve courts on the dense year against the bare
// statements it rests on (played now and not billed for every court, the start of each
// reservation played), measured in the same run.

#include "benchsupport.h"
#include "courts/tcourt.h"
#include "courts/u_courts.h"
#include "data/calculations.h"
#include "data/daycount.h"
#include "data/store.h"

#include <QApplication>
#include <QCheckBox>

#include <cmath>
#include <variant>

using namespace Bench;

namespace {

// A bare statement with whole numbers bound as integers and day counts as reals, as the
// program's query binds them, read to its first row: each of the plan's questions needs no more.
struct TypedStatement : BareStatement {
    using BareStatement::BareStatement;
    long long first(std::initializer_list<std::variant<long long, double>> params, int columns)
    {
        sqlite3_reset(stmt);
        int i = 1;
        for (const auto& p : params) {
            if (std::holds_alternative<long long>(p))
                sqlite3_bind_int64(stmt, i++, std::get<long long>(p));
            else
                sqlite3_bind_double(stmt, i++, std::get<double>(p));
        }
        long long sum = 0;
        if (sqlite3_step(stmt) == SQLITE_ROW)
            for (int c = 0; c < columns; ++c)
                sum += sqlite3_column_int64(stmt, c);
        // Done with it, as the plan is: the read ends and its lock goes.
        sqlite3_reset(stmt);
        return sum;
    }
};

} // namespace

int main(int argc, char** argv)
{
    offscreenUnlessNamed();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const int firstDay = denseYearStart();
    if (!installDenseYear(dir, firstDay))
        return 1;
    const int day = firstDay + 200;
    DayCount::setCurrentMoment(QDateTime(DayCount::toDate(day), QTime(15, 7)));

    Tfrm_courts plan;
    plan.cb_max->setChecked(false);
    plan.show();
    QApplication::processEvents();
    int played = 0;
    for (int court = 1; court <= 12; ++court)
        played += plan.tile(court) && plan.tile(court)->pnl_players->isVisible();
    std::printf("courts with a tile: 12, played now: %d\n", played);

    sqlite3* bare = nullptr;
    sqlite3_open_v2(Store::databaseFile().toUtf8().constData(), &bare, SQLITE_OPEN_READONLY, nullptr);
    TypedStatement playing(bare,
                           "select Reservierungsnummer from Reservierung where Platz = ?1 and Bezahlt = 0 "
                           "and Datum = ?2 and Stunde = ?3 and Viertelstunde = ?4");
    TypedStatement waiting(
        bare, "select distinct Reservierungsnummer from Reservierung Re where Re.Platz = ?1 "
              "and Re.Datum = ?2 "
              "and Re.Bezahlt = 0 and not exists (select 1 from Reservierung Res where Res.Platz = Re.Platz "
              "and Res.Datum = Re.Datum and Res.Bezahlt = 0 and Res.Reservierungsnummer = "
              "Re.Reservierungsnummer and ?3 + (cast(Res.Stunde as real) - 1) / 24 + "
              "cast(Res.Viertelstunde as real) / 96 > ?4)");
    TypedStatement start(bare,
                         "select Datum,Stunde,Viertelstunde from Reservierung where Reservierungsnummer = ?1 "
                         "order by Datum,Stunde,Viertelstunde");

    volatile long long sink = 0;
    report("court plan running-time refresh",
           measure(
               300, [&] { plan.tm_laufzeitTimer(); },
               [&] {
                   const double now = DayCount::now();
                   const double minutes = std::floor((now - day) * 1440);
                   const long long hour = (long long)(minutes) / 60 + 1;
                   const long long quarter = (long long)(minutes) / 15 % 4 + 1;
                   for (long long court = 1; court <= 12; ++court) {
                       const long long number = playing.first({court, (long long)day, hour, quarter}, 1);
                       if (number != 0)
                           sink = sink + start.first({number}, 3);
                       sink = sink + waiting.first({court, (long long)day, double(day), now}, 1);
                   }
               }),
           "bare 24-36 statements");
    // Where the time goes: each part for twelve courts against its bare statement.
    CourtPlan::CourtStateQueries states;
    const double now = DayCount::now();
    const long long hour = 16, quarter = 1;
    report("  played now, 12 courts",
           measure(
               300,
               [&] {
                   for (int court = 1; court <= 12; ++court)
                       sink = sink + states.wirdGespielt(court, now);
               },
               [&] {
                   for (long long court = 1; court <= 12; ++court)
                       sink = sink + playing.first({court, (long long)day, hour, quarter}, 1);
               }),
           "bare statement");
    report("  not billed, 12 courts",
           measure(
               300,
               [&] {
                   for (int court = 1; court <= 12; ++court)
                       sink = sink + states.nichtAbgerechnet(court, now);
               },
               [&] {
                   for (long long court = 1; court <= 12; ++court)
                       sink = sink + waiting.first({court, (long long)day, double(day), now}, 1);
               }),
           "bare statement");
    const long long number = playing.first({1, (long long)day, hour, quarter}, 1);
    report("  start of the reservation, 12 times",
           measure(
               300,
               [&] {
                   for (int court = 1; court <= 12; ++court)
                       sink = sink + fStartzeit(int(number));
               },
               [&] {
                   for (int court = 1; court <= 12; ++court)
                       sink = sink + start.first({number}, 3);
               }),
           "bare statement");
    sqlite3_close(bare);
    return 0;
}
