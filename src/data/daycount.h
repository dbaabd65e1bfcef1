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
inline double now()
{
    return fromDateTime(QDateTime::currentDateTime());
}
inline int today()
{
    return fromDate(QDate::currentDate());
}

} // namespace DayCount
