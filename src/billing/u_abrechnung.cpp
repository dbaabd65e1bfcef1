#include "billing/u_abrechnung.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

Tfrm_abrechnung::Tfrm_abrechnung(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_abrechnung"), QStringLiteral("Calculation"), parent)
{
    resize(640, 420);
    auto* form = new QFormLayout(body());
    ed_court = new QLineEdit(QStringLiteral("0"), body());
    ed_court->setObjectName(QStringLiteral("ed_court"));
    ed_court->setReadOnly(true);
    form->addRow(QStringLiteral("Court"), ed_court);
    lbl_abrechnen = new QLabel(body());
    lbl_abrechnen->setObjectName(QStringLiteral("lbl_abrechnen"));
    lbl_abrechnen->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->addRow(lbl_abrechnen);
    btn_close = addCloseButton();
}
