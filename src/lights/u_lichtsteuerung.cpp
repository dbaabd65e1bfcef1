#include "lights/u_lichtsteuerung.h"

#include <QPushButton>

Tfrm_lichtsteuerung::Tfrm_lichtsteuerung(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_lichtsteuerung"), QStringLiteral("Switch Courts Settings"), parent)
{
    setHelpTopic(2100);
    resize(640, 420);
    btn_close = addCloseButton();
}
