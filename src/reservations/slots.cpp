#include "reservations/slots.h"

#include "data/daycount.h"
#include "data/displayformat.h"

#include <cmath>

namespace {

const char* const quarterMinutes[4] = {"00", "15", "30", "45"};

QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

} // namespace

double slotStart(int datum, int stunde, int viertelstunde)
{
    return double((long double)datum + (stunde - 1) / 24.0L + (viertelstunde - 1) / 96.0L);
}

Slot slotOfMoment(double moment)
{
    const double t = moment - std::floor(moment);
    // A moment stored for 18:30 may read back a hair below it; it still lies in the 18:30 slot.
    const double quarters = std::floor(t * 96.0 + 1e-7);
    const int q = std::min(int(quarters), slotsPerDay - 1);
    return Slot{q / 4 + 1, q % 4 + 1, 1};
}

HourLabel hourRowLabel(int stunde)
{
    const int h12 = (stunde - 1) % 12 == 0 ? 12 : (stunde - 1) % 12;
    return HourLabel{twoDigits(h12) + QStringLiteral(":00"),
                     stunde <= 12 ? QStringLiteral("am") : QStringLiteral("pm")};
}

QString quarterLabel(int viertelstunde)
{
    const int q = std::clamp(viertelstunde, 1, 4) - 1;
    return QStringLiteral("%1-%2").arg(twoDigits(q * 15), twoDigits((q + 1) * 15));
}

QString startTimeText(double moment)
{
    return DisplayFormat::amPmTime(moment);
}

QString printStartText(int stunde, int viertelstunde)
{
    return twoDigits(stunde - 1) + QStringLiteral(" : ") +
           QLatin1String(quarterMinutes[std::clamp(viertelstunde, 1, 4) - 1]);
}

QString printDurationText(int quarters)
{
    return QString::number(quarters / 4) + QStringLiteral(" : ") +
           QLatin1String(quarterMinutes[quarters % 4]);
}
