// The time from another desk's commit to this desk's refreshed scheduler, on the server named by
// COURTORIA_BENCH_SERVER: the other desk cancels a quarter of the week shown on the dense year,
// telling it on its channel in the same transaction, and this desk's scheduler must show the
// quarter free and painted. Fifty cancellations, each timed from the moment the other desk's
// commit returns; median and worst.

#include "app/liverefresh.h"
#include "benchsupport.h"
#include "data/daycount.h"
#include "reservations/quartergrid.h"
#include "reservations/u_scheduler.h"
#include "ui/forms.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QDeadlineTimer>
#include <QTimer>

#include <libpq-fe.h>

using namespace Bench;

int main(int argc, char** argv)
{
    offscreenUnlessNamed();
    QApplication app(argc, argv);
    if (benchServer().isEmpty()) {
        std::printf("COURTORIA_BENCH_SERVER names no server: nothing to measure\n");
        return 0;
    }
    const int firstDay = denseYearStart();
    const DenseInstallation installation(Engine::PostgreSQL, firstDay);
    if (!installation.isValid())
        return 1;
    // The other desk: a connection of its own, as another program's store would have.
    PGconn* other = PQconnectdb(installation.connectionString().toUtf8().constData());
    if (PQstatus(other) != CONNECTION_OK) {
        std::fprintf(stderr, "connect: %s\n", PQerrorMessage(other));
        return 1;
    }

    Tfrm_scheduler scheduler;
    forms().scheduler = &scheduler;
    LiveRefresh refresh;
    scheduler.cb_max->setChecked(false);
    scheduler.resize(900, 700);
    scheduler.show();
    const int week = firstDay + 200;
    scheduler.dp_datum->setDate(DayCount::toDate(week));
    scheduler.dp_datumCloseUp();
    QApplication::processEvents();
    QuarterGrid* grid = scheduler.grid();
    // Wakes the waiting loop now and then, so that a lost notification ends in the deadline.
    QTimer heartbeat;
    heartbeat.start(20);

    std::vector<double> latencies;
    int lost = 0;
    for (int i = 0; i < 50; ++i) {
        const int column = 1 + i % 7;
        const int court = 1 + i % 12;
        const int hour = 8 + i / 12;
        const int day = week + column - 1;
        const QByteArray cancel =
            QStringLiteral("begin; delete from reservierung where datum = %1 and platz = %2 and stunde = %3 "
                           "and viertelstunde = 1; select pg_notify('reservierung', '%1'); commit")
                .arg(day)
                .arg(court)
                .arg(hour)
                .toLatin1();
        PGresult* result = PQexec(other, cancel.constData());
        QElapsedTimer since;
        since.start();
        if (PQresultStatus(result) != PGRES_COMMAND_OK)
            std::fprintf(stderr, "cancel: %s\n", PQerrorMessage(other));
        PQclear(result);
        const QDeadlineTimer deadline(5000);
        const Tplatzviertelstunde& q = grid->cell(column, hour).quarter(court, 1);
        while (q.belegung != Belegung::frei && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        grid->repaint(grid->visibleRegion());
        if (q.belegung != Belegung::frei)
            ++lost;
        else
            latencies.push_back(since.nsecsElapsed() / 1.0e6);
    }
    PQfinish(other);
    forms().scheduler = nullptr;
    if (latencies.empty()) {
        std::printf("no change reached the scheduler\n");
        return 1;
    }
    std::printf("commit to refreshed scheduler      median %8.2f ms   worst %8.2f ms   (%zu changes, %d not "
                "seen within 5 s)\n",
                median(latencies), *std::max_element(latencies.begin(), latencies.end()), latencies.size(),
                lost);
    return lost == 0 ? 0 : 1;
}
