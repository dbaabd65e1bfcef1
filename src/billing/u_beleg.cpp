#include "billing/u_beleg.h"

#include "report/printing.h"

#include <QPushButton>

Tfrm_beleg::Tfrm_beleg(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_beleg"), QStringLiteral("Court - Bill"), parent)
{
    resize(640, 420);
    btn_close = addCloseButton();
}

QString BelegDrucken(int layout, const Receipt::Values& values)
{
    const std::optional<Report::Document> receipt = Receipt::document(layout, values);
    return receipt ? Printing::printFailure(*receipt) : QString();
}
