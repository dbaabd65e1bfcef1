#include "billing/u_abschluesse.h"

#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

Tfrm_abschluesse::Tfrm_abschluesse(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_abschluesse"), QStringLiteral("All Daily Accounts"), parent)
{
    setHelpTopic(1100);
    resize(640, 420);
    auto* form = new QFormLayout(body());
    lbl_summew = new QLabel(body());
    lbl_summew->setObjectName(QStringLiteral("lbl_summew"));
    form->addRow(QStringLiteral("Sum "), lbl_summew);
    btn_close = addCloseButton();
}
