#pragma once

#include <QString>

// One court quarter-hour: hour 1..24 covers (h-1):00 to h:00, quarter 1..4, court 1..12.
struct Slot {
    int stunde = 1;
    int viertelstunde = 1;
    int platz = 1;
    friend bool operator==(const Slot&, const Slot&) = default;
};

inline constexpr int courtCount = 12;
inline constexpr int slotsPerDay = 96;

// Start of a slot in days since 30 December 1899.
double slotStart(int datum, int stunde, int viertelstunde);
// The hour and quarter in which a moment lies (the court number is left at 1).
Slot slotOfMoment(double moment);

struct HourLabel {
    QString time; // "12:00", "01:00", ...
    QString half; // "am" or "pm"
};
// Row label of an hour in the grids: row 1 "12:00" "am", row 13 "12:00" "pm".
HourLabel hourRowLabel(int stunde);
// "00-15", "15-30", "30-45", "45-60".
QString quarterLabel(int viertelstunde);
// A moment as "hh:mm am/pm": 14:15 gives "02:15 pm".
QString startTimeText(double moment);
// Printout start: "07 : 45" for hour 8, quarter 4.
QString printStartText(int stunde, int viertelstunde);
// Printout duration: "2 : 30" for 10 quarters.
QString printDurationText(int quarters);
