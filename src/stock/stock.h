#pragma once

#include "report/report.h"

#include <QString>

class RecordSet;

// The stock register's logic apart from its window: the three orders the list can be kept in,
// finishing an edit when the window goes away, and the printed list of all items.
namespace Stock {

// The choices of "Order by", in their order on the window.
enum class Order { Name = 0, Category = 1, Number = 2 };
inline constexpr int orderCount = 3;

// The secondary index of the table for a choice ("si_name"); empty for no choice, which leaves the
// order as it was.
QString orderIndex(int choice);
// What the list says it is ordered by: "Name", "Category" or "Item Number"; empty for no choice.
QString orderCaption(int choice);

// The items of the set in its current order, as the list prints them.
QList<Report::Row> rows(const RecordSet& items);

// A4 portrait: the title with the order and the day of printing on every page, one band per item
// with its description below, stretching as far as the text needs, and the page number.
Report::Definition listDefinition(const QString& orderCaption, int printedDay);
Report::Document list(const QList<Report::Row>& rows, const QString& orderCaption, int printedDay);

} // namespace Stock
