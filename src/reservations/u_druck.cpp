#include "reservations/u_druck.h"

#include <QPushButton>

Tfrm_druck::Tfrm_druck(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_druck"), QStringLiteral("Report"), parent)
{
    resize(640, 420);
    btn_close = addCloseButton();
}
