#include "backup/u_archiv.h"

#include <QPushButton>

Tfrm_archiv::Tfrm_archiv(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_archiv"), QStringLiteral("Save and Restore Database"), parent)
{
    setHelpTopic(1650);
    resize(640, 420);
    btn_close = addCloseButton();
}
