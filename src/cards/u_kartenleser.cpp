#include "cards/u_kartenleser.h"

#include <QPushButton>

Tfrm_kartenleser::Tfrm_kartenleser(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_kartenleser"), QStringLiteral("Cardreader"), parent)
{
    resize(640, 420);
    btn_close = addCloseButton();
}
