#pragma once

#include "lights/lightschedule.h"

#include <map>

namespace LightSchedule {

// The courts of the hall as the schedule sees them around a day, by court number: output and
// settings from Tische, booked quarters from the day before to the day after (a run-up may begin
// before midnight, a run-down end after it). An installation made before the settings existed,
// or a court whose settings are empty, reads as not switched with its bookings, 5 and 5 minutes.
// Throws StoreError.
std::map<int, Court> courtsAround(int datum);

} // namespace LightSchedule
