#pragma once

#include <QString>

// How values read from the tables are shown: money by the session's decimals, day counts as the
// system's short date, moments as date and time or as "hh:mm am/pm". Numbers, dates and times
// follow the system's locale (QLocale's default, which is the system's unless a program sets
// another): its thousands and decimal separators, its date and time formats.
namespace DisplayFormat {

// The screen's money format for Nachkommafaktor 1, 10, 100: ",0 ;-,0", ",0.0;-,0.0",
// ",0.00 ;-,0.00" (thousands grouped, a positive amount followed by a blank where the format has
// one). Any other factor shows two decimals.
QString money(double amount);
// The receipts' money format: "#,###,##0", "#,###,##0.0", "#,###,##0.00".
QString receiptMoney(double amount);
// Thousands grouped and a fixed number of decimals whatever the session's, with no blank after a
// positive amount: two places give ",0.00;-,0.00".
QString fixed(double amount, int places);
// A number in its shortest general form, at most 15 significant digits, without thousands
// separators: 12.5 shows as "12.5", or "12,5" in German.
QString general(double value);
// The system's short date format, always with a four-digit year.
QString dateFormat();
// A day count as the system's short date; an empty field (0) shows nothing.
QString date(double dayCount);
// A moment as the short date followed by the time; a moment at midnight shows the date alone.
QString dateTime(double moment);
// A moment as a text of its own (a closing moment, a receipt's start): the short date with the
// long time, seconds included, without the time zone Qt's long format adds; a moment at midnight
// shows the date alone and an empty field (0) nothing.
QString dateLongTime(double moment);
// A moment as "hh:mm am/pm": 14:15 gives "02:15 pm", 00:05 gives "12:05 am".
QString amPmTime(double moment);
// A logical field as data-bound controls store it: "True" or "False".
QString logical(bool value);

} // namespace DisplayFormat
