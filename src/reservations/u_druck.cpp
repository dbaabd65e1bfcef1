#include "reservations/u_druck.h"

#include <QPushButton>

Tfrm_druck::Tfrm_druck(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_druck"), QStringLiteral("Report"), parent)
{
    resize(640, 420);
    btn_close = addBottomButton(QStringLiteral("btn_close"), QStringLiteral("&Close"), true);
    connect(btn_close, &QPushButton::clicked, this, &QDialog::close);
}
