#pragma once

#include "reservations/slots.h"

#include <QString>
#include <QStringList>

#include <optional>

// What the scheduler and the reservation dialog show besides the occupancy: the texts above a day
// column, the retention choices of the purge on closing, and the booking behind a booked quarter.
namespace Schedule {

inline constexpr int weekDays = 7;

struct DayHeading {
    QString weekday; // "SO" ... "SA"
    QString date;    // the system's short date
};
DayHeading dayHeading(int datum);

// The retention choices in their order and the days each keeps.
QStringList retentionChoices();
int retentionDays(int index);

// The court reservation a booked quarter belongs to: its reservator, its first and last quarter
// on that court and day, and whether it is paid.
struct Booking {
    int reservierungsnummer = 0;
    QString reservierer;
    double begin = 0; // start of the first quarter
    double end = 0;   // end of the last quarter
    bool bezahlt = false;
};
std::optional<Booking> bookingAt(int datum, const Slot& slot);
// "Miller, 06:00 pm - 07:00 pm, not paid": said by the tool tip of a booked quarter.
QString bookingText(const Booking& booking);

} // namespace Schedule
