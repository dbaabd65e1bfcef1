#include "billing/u_belegmexiko.h"

#include <QPushButton>

Tfrm_belegmexiko::Tfrm_belegmexiko(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_belegmexiko"), QStringLiteral("Court - Bill"), parent)
{
    resize(640, 420);
    btn_close = addCloseButton();
}
