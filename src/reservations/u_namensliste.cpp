#include "reservations/u_namensliste.h"

#include <QPushButton>

Tfrm_namensliste::Tfrm_namensliste(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_namensliste"), QStringLiteral("Namelist"), parent)
{
    resize(640, 420);
    btn_close = addCloseButton();
}
