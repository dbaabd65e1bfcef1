#pragma once

#include <QSqlDatabase>

namespace InstalledData {

// The rows every installation comes with: the parameter and card-reader rows, the price profile,
// the relay outputs, the users, the countries and the two court types.
void insert(QSqlDatabase& db);

} // namespace InstalledData
