#include "lights/u_gruppensteuerung.h"

#include <QPushButton>

Tfrm_gruppensteuerung::Tfrm_gruppensteuerung(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_gruppensteuerung"), QStringLiteral("Switch Groups"), parent)
{
    setHelpTopic(2200);
    resize(640, 420);
    btn_close = addCloseButton();
}
