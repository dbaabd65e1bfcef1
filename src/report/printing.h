#pragma once

#include "report/report.h"

class QWidget;

// Where a laid-out report goes: straight to the default printer, into a PDF file, or into a
// preview window from which it can be printed or saved as PDF.
namespace Printing {

// False when there is no printer or printing failed.
bool print(const Report::Document& document);
// Prints as print() does; says why nothing was printed, or nothing when it was.
QString printFailure(const Report::Document& document);
bool writePdf(const Report::Document& document, const QString& file);
// A modal preview, maximised and zoomed to the page width; returns when it is closed.
void preview(const Report::Document& document, QWidget* parent = nullptr);

// Makes print() write a PDF file instead, for a desk without a printer and for tests; an empty
// name restores the printer.
void setPrinterFile(const QString& file);

} // namespace Printing
