#pragma once

#include <QList>
#include <QString>

// How the reserved quarter-hours still held are shared among the courts, as percentages of all
// of them. Shares are real numbers: one quarter on each of three courts gives three shares of a
// third of a hundred that add up to 100 again, where whole-number division would lose a percent.
namespace CourtStatistics {

struct CourtShare {
    int court = 0;
    double share = 0; // percent of all reserved quarter-hours
};

// One share per court that has reserved quarter-hours, in ascending court order; none when there
// are no reservations at all (nothing is divided by zero then).
QList<CourtShare> courtShares();

// A bar's mark: its share of the sum of all bars as "##0.#%" ("75%", "33.3%"); an empty sum
// gives "0%".
QString mark(double share, double sumOfShares);

} // namespace CourtStatistics
