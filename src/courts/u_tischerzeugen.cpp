#include "courts/u_tischerzeugen.h"

#include <QPushButton>

Tfrm_tischerzeugen::Tfrm_tischerzeugen(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_tischerzeugen"), QStringLiteral("add a court"), parent)
{
    resize(640, 420);
    btn_close = addCloseButton();
}
