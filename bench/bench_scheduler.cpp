// The scheduler's week refresh and the reservation dialog's day load on the dense year, each
// against the bare occupancy walk of the same span, measured in the same run.

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
    QTemporaryDir dir;
    const int firstDay = denseYearStart();
    if (!installDenseYear(dir, firstDay))
        return 1;

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
               [&] { sink = sink + int(fBelegung(week, week + 6).days()); }),
           "bare fBelegung");

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
               [&] { sink = sink + int(fBelegung(week, week).days()); }),
           "bare fBelegung");
    dialog.hide();
    scheduler.hide();
    forms().scheduler = nullptr;
    forms().reservieren = nullptr;
    return 0;
}
