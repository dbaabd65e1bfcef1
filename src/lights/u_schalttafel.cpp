#include "lights/u_schalttafel.h"

#include <QPushButton>

Tfrm_schalttafel::Tfrm_schalttafel(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_schalttafel"), QStringLiteral("Switchpanel"), parent)
{
    setHelpTopic(2300);
    resize(640, 420);
    btn_close = addCloseButton();
}
