#include "cards/u_mitglieder.h"

#include <QPushButton>

Tfrm_mitglieder::Tfrm_mitglieder(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_mitglieder"), QStringLiteral("Members"), parent)
{
    setHelpTopic(600);
    resize(640, 420);
    btn_close = addCloseButton();
}
