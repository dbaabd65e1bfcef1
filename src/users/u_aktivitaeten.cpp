#include "users/u_aktivitaeten.h"

#include <QPushButton>

Tfrm_aktivitaeten::Tfrm_aktivitaeten(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_aktivitaeten"), QStringLiteral("View Activities"), parent)
{
    resize(640, 420);
    btn_close = addCloseButton();
}
