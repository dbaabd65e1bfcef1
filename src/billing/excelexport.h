#pragma once

#include <QString>

#include <functional>

class TXLSWrite;

// Writes the daily accounts closed on a range of days into an Excel file, apart from any window, in
// one of three layouts: the account sums on one worksheet, or one worksheet per account, named by
// its number, with the sums of its courts or with every bill line and a subtotal per court. Only
// settled lines count; an account belongs to the range when it was closed on one of its days.
//
// The writer brings the file name, the Excel version and the cell formats. The desk's messages
// (nothing to export, export finished) go through the message seam; the writer's errors (XLSError)
// and the store's (StoreError) are thrown and end the export; an earlier file of the same name then
// stays as it was.
namespace ExcelExport {

// The choices of the export page, in their order there.
enum class Layout { AccountSums = 0, CourtSums = 1, CourtDetails = 2 };

// Called after each written row, so that a window can keep its animation moving.
using Progress = std::function<void()>;

// Exports the accounts closed on the days firstDay to lastDay (day counts, both included). True
// when a file was written; false when the range holds no account: the message is shown and no
// file is created or touched. "export finished" is shown once the file is complete on disk.
bool run(TXLSWrite& xls, Layout layout, int firstDay, int lastDay, const Progress& progress = {});

} // namespace ExcelExport
