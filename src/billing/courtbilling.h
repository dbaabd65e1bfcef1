#pragma once

#include <QList>
#include <QString>

#include <optional>

// Billing the time one reservation occupied one court, apart from any window: the unpaid
// reservations of a court today, the price of each quarter by court type and price profile, the
// discount, the rounding, the paid marks and the bill line.
namespace CourtBilling {

// One line of the billing list: a court reservation of the day with its discount.
struct Line {
    QString reservierer;
    int datum = 0;
    int reservierungsnummer = 0;
    int platz = 0;
    int prozente = 0;
    int dauer = 0;         // quarter-hours
    double startstamp = 0; // start of the earliest quarter
};

// The court's unpaid reservations of a day, ordered by reservator, date, number, court.
QList<Line> unpaidLines(int datum, int platz);

// The percentage of the hourly price charged in an hour on a day: the price profile's weekday
// column for that hour (Sunday at position 3 ... Saturday at 9), 100 without a row for the hour.
double stundenprozent(int stunde, int datum);

// What a receipt is filled from.
struct Belegdaten {
    QString firmenname, strasse, plzOrt, telefon;
    int belegnummer = 0;
    int beleganzahl = 0;
    int belegdruck = 0;
    QString tischtyp;
    QString stundenpreis; // shortest general form
    QString startzeit;    // date and long time; the time left out at midnight
    QString quaters;
};

// Takes the next receipt number: stored back into the parameters at once, before any price is
// looked up, as the printed receipts count them. Returns the receipt values of the parameters.
Belegdaten readParameters(bool consumeReceiptNumber);

struct Bill {
    double betrag = 0;
    Belegdaten beleg;
};

// Prices the line's reservation, marks all its quarters paid and writes the bill line at `now`:
// marks and line in one transaction, so that no money is lost between them. Nothing is written
// and no bill returned when the court has not exactly one court type ("Courttype not unique !").
// Throws StoreError, writing nothing, when no quarter of the reservation is unpaid any more (another
// desk billed it meanwhile).
std::optional<Bill> bill(const Line& line, int court, double now, Belegdaten beleg);

} // namespace CourtBilling
