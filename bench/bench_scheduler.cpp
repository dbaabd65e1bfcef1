// The scheduler's week refresh and the reservation dialog's day load on the dense year, each
// against the bare occupancy walk of the same span, measured in the same run: on SQLite, and on
// the server named by COURTORIA_BENCH_SERVER.

#include "benchsupport.h"
#include "data/daycount.h"
#include "reservations/occupancy.h"
#include "reservations/quartergrid.h"
#include "reservations/u_reservieren.h"
#include "reservations/u_scheduler.h"
#include "ui/forms.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>

using namespace Bench;

int main(int argc, char** argv)
{
    offscreenUnlessNamed();
    QApplication app(argc, argv);
    return onEachEngine([](const DenseInstallation& installation, int firstDay) {
        // SQLite's walk is its bare statement already; the server's is held to the bare statement
        // of the same span through libpq.
        const auto bareStatement = installation.statement(occupancyWalkSql);
        const auto bareWalk = [&](int von, int bis) -> long long {
            if (installation.onServer())
                return bareStatement->run({double(von), double(bis)}, 6);
            return fBelegung(von, bis).days();
        };
        const char* bare = installation.onServer() ? installation.bareName() : "bare fBelegung";

        Tfrm_scheduler scheduler;
        Tfrm_reservieren dialog;
        forms().scheduler = &scheduler;
        forms().reservieren = &dialog;
        scheduler.cb_max->setChecked(false);
        scheduler.resize(900, 700);
        scheduler.show();
        QApplication::processEvents();

        const int week = firstDay + 200;
        scheduler.dp_datum->setDate(DayCount::toDate(week));
        volatile long long sink = 0;
        QuarterGrid* grid = scheduler.grid();
        // Reset, one walk, recolour, and the repaint of what is in view.
        report("scheduler week refresh",
               measure(
                   100,
                   [&] {
                       scheduler.dp_datumCloseUp();
                       grid->repaint(grid->visibleRegion());
                   },
                   [&] { sink = sink + bareWalk(week, week + 6); }),
               bare);

        dialog.ed_tag->setText(QStringLiteral("1"));
        dialog.ed_stunde->setText(QStringLiteral("10"));
        dialog.show();
        QApplication::processEvents();
        QuarterGrid* day = dialog.grid();
        report("reservation dialog day load",
               measure(
                   200,
                   [&] {
                       dialog.loadDay();
                       day->repaint(day->visibleRegion());
                   },
                   [&] { sink = sink + bareWalk(week, week); }),
               bare);
        dialog.hide();
        scheduler.hide();
        forms().scheduler = nullptr;
        forms().reservieren = nullptr;
    });
}
