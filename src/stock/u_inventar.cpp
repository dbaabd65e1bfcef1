#include "stock/u_inventar.h"

#include <QPushButton>

Tfrm_inventar::Tfrm_inventar(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_inventar"), QStringLiteral("Inventory"), parent)
{
    setHelpTopic(1);
    resize(640, 420);
    btn_close = addCloseButton();
}
