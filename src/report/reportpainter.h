#pragma once

#include "report/report.h"

class QPagedPaintDevice;

namespace Report {

// Draws the document's printed pages (every copy) onto a printer or PDF writer: the paper size
// set to the document's, no device margins, one device page per page. False when the device
// cannot be painted on (no printer, a file that cannot be written).
bool paint(const Document& document, QPagedPaintDevice& device);

} // namespace Report
