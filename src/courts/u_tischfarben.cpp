#include "courts/u_tischfarben.h"

#include <QPushButton>

Tfrm_tischfarben::Tfrm_tischfarben(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_tischfarben"), QStringLiteral("Courtcolors"), parent)
{
    setHelpTopic(1300);
    resize(640, 420);
    btn_close = addCloseButton();
}
