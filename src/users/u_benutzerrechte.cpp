#include "users/u_benutzerrechte.h"

#include <QPushButton>

Tfrm_benutzerrechte::Tfrm_benutzerrechte(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_benutzerrechte"), QStringLiteral("Userrights Settings"), parent)
{
    setHelpTopic(1625);
    resize(640, 420);
    btn_close = addCloseButton();
}
