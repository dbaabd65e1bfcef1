#pragma once

#include "billing/courtbilling.h"
#include "report/report.h"

#include <optional>

// The receipt "Court - Bill" of one court bill, in its two paper layouts: 0 the 4 1/4 x 5 1/2 inch
// form, 1 A5. Both carry the same texts; paper, margins, positions and two fonts differ.
namespace Receipt {

struct Values {
    CourtBilling::Belegdaten beleg;
    QString courtNumber; // as the court plan's selected-court field holds it
    double amount = 0;
    QString currency;
    int printed = 0; // day of printing
};

// The receipt laid out on its paper with beleg.beleganzahl copies; nothing for a layout other
// than 0 or 1.
std::optional<Report::Document> document(int layout, const Values& values);

// What the desk is told when a bill's receipt did not reach the printer.
QString notPrinted(const QString& reason);

} // namespace Receipt
