#pragma once

#include <QSqlDatabase>

namespace DemoData {

// Courts, members, names, reservations on the days around today (paid and unpaid, one booked on
// two courts, one being played at this moment) and bill lines, some closed into daily accounts.
void insert(QSqlDatabase& db, int today, double now);

// Every quarter-hour of courts 1..courts booked for days days from firstDay, in bookings of one
// hour, every other one paid: the dense year the benchmarks run on.
void insertDenseBookings(QSqlDatabase& db, int firstDay, int days, int courts = 12);

} // namespace DemoData
