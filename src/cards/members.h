#pragma once

// The members register's own store operations, apart from its window.
namespace Members {

// The highest stored member number plus 1; 1 for an empty register.
int fGetMaxMitgliedNr();
// Removes the monthly discounts of a member, before the member himself goes.
void deleteMonthlyDiscounts(int mitgliedsnummer);

} // namespace Members
