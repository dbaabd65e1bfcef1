#include "reservations/u_namensliste.h"

#include <QPushButton>

Tfrm_namensliste::Tfrm_namensliste(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_namensliste"), QStringLiteral("Namelist"), parent)
{
    resize(640, 420);
    btn_close = addBottomButton(QStringLiteral("btn_close"), QStringLiteral("&Close"), true);
    connect(btn_close, &QPushButton::clicked, this, &QDialog::close);
}
