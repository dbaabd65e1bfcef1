#pragma once

#include <QDate>
#include <QDateTime>

// Dates and moments are stored as days since 30 December 1899, the time of day as the fraction.
namespace DayCount {

inline const QDate epoch{1899, 12, 30};

inline int fromDate(const QDate& date)
{
    return int(epoch.daysTo(date));
}
inline QDate toDate(double days)
{
    return epoch.addDays(qint64(days < 0 ? days - 0.5 : days));
}
double fromDateTime(const QDateTime& moment);
QDateTime toDateTime(double days);

// The desk's clock: the system clock, set off by a fixed amount once a moment was set. A demo
// names its moment in COURTORIA_NOW ("2026-12-10T14:07"); tests set it directly. Time goes on
// from the set moment, so the minute timers still see it move.
QDateTime currentMoment();
void setCurrentMoment(const QDateTime& moment);

inline double now()
{
    return fromDateTime(currentMoment());
}
inline int today()
{
    return fromDate(currentMoment().date());
}

} // namespace DayCount
