#include "billing/u_beleg.h"

#include <QPushButton>

Tfrm_beleg::Tfrm_beleg(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_beleg"), QStringLiteral("Court - Bill"), parent)
{
    resize(640, 420);
    btn_close = addCloseButton();
}
