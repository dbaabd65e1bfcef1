#include "billing/u_laender.h"

#include <QPushButton>

Tfrm_laender::Tfrm_laender(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_laender"), QStringLiteral("Currency"), parent)
{
    setHelpTopic(1400);
    resize(640, 420);
    btn_close = addCloseButton();
}
