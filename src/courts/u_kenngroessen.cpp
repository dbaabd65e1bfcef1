#include "courts/u_kenngroessen.h"

#include <QPushButton>

Tfrm_kenngroessen::Tfrm_kenngroessen(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_kenngroessen"), QStringLiteral("Parameters"), parent)
{
    setHelpTopic(700);
    resize(640, 420);
    btn_close = addCloseButton();
}
