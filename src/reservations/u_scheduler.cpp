#include "reservations/u_scheduler.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QPushButton>

Tfrm_scheduler::Tfrm_scheduler(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_scheduler"), QStringLiteral("Courtoriascheduler"), parent)
{
    resize(640, 420);
    auto* form = new QFormLayout(body());
    dp_datum = new QDateEdit(QDate::currentDate(), body());
    dp_datum->setObjectName(QStringLiteral("dp_datum"));
    dp_datum->setCalendarPopup(true);
    form->addRow(QStringLiteral("goto date"), dp_datum);
    BitBtn1 = addBottomButton(QStringLiteral("BitBtn1"), QStringLiteral("&Close"), true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::close);
}

void Tfrm_scheduler::dp_datumCloseUp() {}
