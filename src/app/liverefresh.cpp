#include "app/liverefresh.h"

#include "app/sessionstart.h"
#include "billing/u_abrechnung.h"
#include "billing/u_tagesabrechnung.h"
#include "courts/u_courts.h"
#include "data/changes.h"
#include "data/store.h"
#include "reservations/u_reservieren.h"
#include "reservations/u_reservierungsliste.h"
#include "reservations/u_scheduler.h"
#include "ui/forms.h"

namespace {

// A change that arrives while this desk writes waits this long before it is tried again.
constexpr int busyRetryMs = 50;

} // namespace

LiveRefresh::LiveRefresh(QObject* parent)
    : QObject(parent)
{
    pending_.setSingleShot(true);
    pending_.setInterval(0);
    connect(&pending_, &QTimer::timeout, this, &LiveRefresh::refreshNow);
    connect(&ChangeListener::instance(), &ChangeListener::heard, this, &LiveRefresh::heard);
}

void LiveRefresh::heard(const QString& channel, const QString& payload)
{
    channels_.insert(channel);
    if (channel == QLatin1String(Changes::reservierung)) {
        bool day = false;
        const int datum = payload.toInt(&day);
        days_.insert(day ? datum : 0);
    }
    if (!pending_.isActive())
        pending_.start(0);
}

void LiveRefresh::refreshNow()
{
    if (Store::inTransaction()) {
        pending_.start(busyRetryMs);
        return;
    }
    const bool bookings = channels_.contains(QLatin1String(Changes::reservierung));
    const bool bills = channels_.contains(QLatin1String(Changes::abrechnung));
    const bool courts = channels_.contains(QLatin1String(Changes::tische));
    const bool parameters = channels_.contains(QLatin1String(Changes::kennzahlen));
    // New or removed courts change every day a window shows; a change of no one day covers the
    // single days heard with it.
    const QSet<int> days = courts || days_.contains(0) ? QSet<int>{0} : days_;
    channels_.clear();
    days_.clear();
    // The money decimals are the hall's: amounts this desk rounds from now on follow the change.
    if (parameters) {
        try {
            SessionStart::loadNachkommafaktor();
        } catch (const StoreError&) {
        }
    }
    if (!bookings && !bills && !courts)
        return;
    const Forms& f = forms();
    if (bookings || courts) {
        if (f.scheduler && f.scheduler->isVisible())
            for (int day : std::as_const(days))
                f.scheduler->showChangedDay(day);
        if (f.reservieren && f.reservieren->isVisible() &&
            (days.contains(0) || days.contains(f.reservieren->datum())))
            f.reservieren->refreshDay();
        if (f.reservierungsliste)
            for (int day : std::as_const(days))
                f.reservierungsliste->refreshLines(day);
    }
    if (f.abrechnung)
        f.abrechnung->refreshLines();
    if (bills && f.tagesabrechnung)
        f.tagesabrechnung->refreshLines();
    refreshCourtPlan();
}
