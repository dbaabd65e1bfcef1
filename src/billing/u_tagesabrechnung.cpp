#include "billing/u_tagesabrechnung.h"

#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

Tfrm_Tagesabrechnung::Tfrm_Tagesabrechnung(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_Tagesabrechnung"), QStringLiteral("Daily Account"), parent)
{
    setHelpTopic(1000);
    resize(640, 420);
    auto* form = new QFormLayout(body());
    lbl_summew = new QLabel(body());
    lbl_summew->setObjectName(QStringLiteral("lbl_summew"));
    form->addRow(QStringLiteral("Sum "), lbl_summew);
    btn_close = addCloseButton();
}
