#pragma once

#include <optional>

class RecordSet;

// The members register's own store operations, apart from its window.
namespace Members {

// The highest stored member number plus 1; 1 for an empty register.
int fGetMaxMitgliedNr();
// Inside the transaction that writes a new member (RecordSet::beforeInsertWrite). Takes the member
// number lock, so that desks adding members at the same moment store them one after the other.
// When the row still holds the number drawn for it (drawn) and another desk has stored a member
// under that number meanwhile, the row takes the next free one, highest + 1. A number typed by hand
// (none drawn, or changed since) stays as typed: the key refuses a duplicate.
void confirmDrawnNumber(RecordSet& members, std::optional<int> drawn);
// Removes the monthly discounts of a member, before the member himself goes.
void deleteMonthlyDiscounts(int mitgliedsnummer);

} // namespace Members
