#pragma once

#include "report/report.h"

// The printed reservations of a date range and a court range, grouped by day and court, with the
// quarter-hours of each reservation, court, day and in total. Three choices nest: day sums only;
// day and court sums; or every reservation with both sums.
namespace ReservationReport {

struct Options {
    int vonPlatz = 1;
    int bisPlatz = 12;
    int vonDatum = 0;
    int bisDatum = 0;
    QString company;
    bool details = true; // "print single Reservations"
    bool courtSum = true;
    bool daySum = true;
    int printed = 0; // day of printing
};

// One row per court reservation, ordered by day, court, reservator, number: Reservierer, Datum,
// Reservierungsnummer, Platz, Dauer, Stunde, Viertelstunde and the begin text Startzeit.
QList<Report::Row> rows(const Options& options);

Report::Definition definition(const Options& options);
// No page when the ranges select no reservation.
Report::Document document(const Options& options);

} // namespace ReservationReport
