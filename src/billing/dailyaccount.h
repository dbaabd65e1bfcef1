#pragma once

// Closing the open bill lines into one numbered daily account, apart from any window.
namespace DailyAccount {

// The sum of the open lines' amounts; 0 when none is open.
double openSum();

struct Closed {
    int abrechnungsfolge = 0; // the highest account number in the table + 1
    double sum = 0;           // of the lines closed
    double moment = 0;        // their account date-time
};

// Gives every open line the next account number and the one moment `now`, and returns them with
// the sum. Number and update are one transaction, so no line can slip between them. With nothing
// open, nothing is written and the number stays free for the next closing.
Closed close(double now);

} // namespace DailyAccount
