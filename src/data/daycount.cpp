#include "data/daycount.h"

#include <cmath>
#include <optional>

namespace DayCount {

namespace {

qint64 offsetFromEnvironment()
{
    const QByteArray named = qgetenv("COURTORIA_NOW");
    if (named.isEmpty())
        return 0;
    const QDateTime moment = QDateTime::fromString(QString::fromLatin1(named), Qt::ISODate);
    return moment.isValid() ? QDateTime::currentDateTime().msecsTo(moment) : 0;
}

std::optional<qint64> offsetMs;

} // namespace

QDateTime currentMoment()
{
    if (!offsetMs)
        offsetMs = offsetFromEnvironment();
    return QDateTime::currentDateTime().addMSecs(*offsetMs);
}

void setCurrentMoment(const QDateTime& moment)
{
    offsetMs = QDateTime::currentDateTime().msecsTo(moment);
}

double fromDateTime(const QDateTime& moment)
{
    const QTime time = moment.time();
    return fromDate(moment.date()) + time.msecsSinceStartOfDay() / 86400000.0;
}

QDateTime toDateTime(double days)
{
    const double whole = std::floor(days);
    // Rounded to the millisecond so that 18:30 stored as a fraction reads back as 18:30:00.000.
    const qint64 ms = std::llround((days - whole) * 86400000.0);
    return QDateTime(epoch.addDays(qint64(whole)), QTime(0, 0)).addMSecs(ms);
}

} // namespace DayCount
