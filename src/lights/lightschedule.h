#pragma once

#include <QtGlobal>

#include <vector>

// When a court's light burns if it follows the bookings: from a run-up before the first booked
// quarter to a run-down after the last, the quarters of all the day's reservations taken together.
// A gap between bookings that the run-down and the next run-up close keeps the light on, so that
// back-to-back bookings never flicker. Pure: the rows, the minutes and the moment in, the spans
// and the state out; no window, no port, no store.
namespace LightSchedule {

// Moments to the second: seconds since the day count 0 (30 December 1899, 00:00).
using Second = qint64;

// A booked quarter of one court: day count, hour 1 to 24, quarter 1 to 4.
struct Quarter {
    int datum = 0;
    int stunde = 1;
    int viertelstunde = 1;
};

// The light on from `on` (included) to `off` (excluded).
struct Span {
    Second on = 0;
    Second off = 0;
    bool operator==(const Span&) const = default;
};

// The court as the schedule sees it: its relay output (1 to 40, anything else none), whether it
// switches with its bookings, its run-up and run-down in minutes, and its booked quarters.
struct Court {
    int anschluss = 0;
    bool automatic = false;
    int runUp = 5;
    int runDown = 5;
    std::vector<Quarter> booked;
};

Second quarterStart(const Quarter& quarter);
// The moment of a day count with its time as the fraction, rounded to the second.
Second secondOf(double moment);

// The spans of the booked quarters in order, overlapping and touching ones merged. Quarters may
// come in any order and more than once (two reservations never share one, a row read twice does
// no harm).
std::vector<Span> lightSpans(std::vector<Quarter> booked, int runUpMinutes, int runDownMinutes);
// No span for a court that does not switch with its bookings or has no output.
std::vector<Span> courtSpans(const Court& court);

// Whether the light burns at now, and the next moment after now at which that changes; -1 when
// it never changes again.
struct State {
    bool on = false;
    Second nextChange = -1;
    bool operator==(const State&) const = default;
};
State stateAt(const std::vector<Span>& spans, Second now);

} // namespace LightSchedule
