#pragma once

#include "report/report.h"

// The printed "List of daily accounts": every account closed within a range of days on a page of
// its own, its bill lines court by court (with details), a framed subtotal per court and the
// account's total beside the currency.
namespace AccountsReport {

struct Options {
    int vonDatum = 0; // first day
    int bisDatum = 0; // last day, included
    bool details = false;
    QString currency;
    double printed = 0; // moment of printing
};

// The settled lines closed from the first day 00:00 up to the day after the last, ordered by
// account, court, billing moment.
QList<Report::Row> rows(int vonDatum, int bisDatum);

Report::Definition definition(const Options& options);
// No page when no settled line lies in the range.
Report::Document document(const Options& options);

} // namespace AccountsReport
