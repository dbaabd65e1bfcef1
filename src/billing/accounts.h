#pragma once

// The closed daily accounts, apart from any window: one account's sum, and deleting the settled
// lines of accounts closed before a day (open lines are never touched).
namespace Accounts {

double sum(int abrechnungsfolge);
// Deletes every settled line closed before 00:00 of `day`; returns how many went.
int deleteOlderThan(int day);

} // namespace Accounts
