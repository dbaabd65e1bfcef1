#include "reservations/u_statistik.h"

#include <QPushButton>

Tfrm_statistik::Tfrm_statistik(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_statistik"), QStringLiteral("Courtstatistic"), parent)
{
    setHelpTopic(1500);
    resize(640, 420);
    btn_close = addCloseButton();
}
