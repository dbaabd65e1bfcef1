#include "billing/u_alleabschluessereport.h"

#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

Tfrm_alleabschluessereport::Tfrm_alleabschluessereport(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_alleabschluessereport"), QStringLiteral("List of daily accounts"),
                 parent)
{
    resize(640, 420);
    auto* form = new QFormLayout(body());
    lbl_summew = new QLabel(body());
    lbl_summew->setObjectName(QStringLiteral("lbl_summew"));
    form->addRow(QStringLiteral("Sum "), lbl_summew);
    btn_close = addCloseButton();
}
