#pragma once

#include "billing/receipt.h"
#include "ui/deskwindow.h"

class QPushButton;

// The receipt on A5 paper; its form is never shown itself.
class Tfrm_beleg : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_beleg(QWidget* parent = nullptr);

    QPushButton* btn_close = nullptr;
};

// Prints the receipt of a bill in layout 0 (4 1/4 x 5 1/2 inch form) or 1 (A5), its copies
// straight to the default printer without preview; any other layout prints nothing. Returns why
// the printer failed, empty when it did not: the bill is stored by then, so callers go on.
QString BelegDrucken(int layout, const Receipt::Values& values);
