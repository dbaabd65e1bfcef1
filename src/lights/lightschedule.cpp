#include "lights/lightschedule.h"

#include <algorithm>
#include <cmath>

namespace LightSchedule {

namespace {

constexpr Second secondsPerDay = 24 * 60 * 60;
constexpr Second secondsPerQuarter = 15 * 60;

} // namespace

Second quarterStart(const Quarter& quarter)
{
    return Second(quarter.datum) * secondsPerDay + Second(quarter.stunde - 1) * 3600 +
           Second(quarter.viertelstunde - 1) * secondsPerQuarter;
}

Second secondOf(double moment)
{
    return Second(std::llround(moment * double(secondsPerDay)));
}

std::vector<Span> lightSpans(std::vector<Quarter> booked, int runUpMinutes, int runDownMinutes)
{
    std::vector<Second> starts;
    starts.reserve(booked.size());
    for (const Quarter& q : booked)
        starts.push_back(quarterStart(q));
    std::sort(starts.begin(), starts.end());
    const Second runUp = Second(std::max(runUpMinutes, 0)) * 60;
    const Second runDown = Second(std::max(runDownMinutes, 0)) * 60;
    std::vector<Span> spans;
    for (Second start : starts) {
        const Span span{start - runUp, start + secondsPerQuarter + runDown};
        // A light that would go out at the moment it comes on again stays on.
        if (!spans.empty() && span.on <= spans.back().off)
            spans.back().off = std::max(spans.back().off, span.off);
        else
            spans.push_back(span);
    }
    return spans;
}

std::vector<Span> courtSpans(const Court& court)
{
    if (!court.automatic || court.anschluss < 1 || court.anschluss > 40)
        return {};
    return lightSpans(court.booked, court.runUp, court.runDown);
}

State stateAt(const std::vector<Span>& spans, Second now)
{
    for (const Span& span : spans) {
        if (now < span.on)
            return {false, span.on};
        if (now < span.off)
            return {true, span.off};
    }
    return {false, -1};
}

} // namespace LightSchedule
