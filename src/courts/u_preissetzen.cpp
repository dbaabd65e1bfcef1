#include "courts/u_preissetzen.h"

#include <QPushButton>

Tfrm_preissetzen::Tfrm_preissetzen(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_preissetzen"), QStringLiteral("Courtprices"), parent)
{
    resize(640, 420);
    btn_close = addCloseButton();
}
