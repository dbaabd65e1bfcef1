#include "reservations/u_reservierungsliste.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

Tfrm_reservierungsliste::Tfrm_reservierungsliste(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_reservierungsliste"), QStringLiteral("Reservationlist"), parent)
{
    resize(640, 420);
    auto* form = new QFormLayout(body());
    ed_datum = new QDateEdit(QDate::currentDate(), body());
    ed_datum->setObjectName(QStringLiteral("ed_datum"));
    ed_datum->setCalendarPopup(true);
    form->addRow(QStringLiteral("Date"), ed_datum);
    lbl_platz = new QLabel(QStringLiteral("-1"), body());
    lbl_platz->setObjectName(QStringLiteral("lbl_platz"));
    lbl_platz->hide();
    btn_close = addBottomButton(QStringLiteral("btn_close"), QStringLiteral("&Close"));
    connect(btn_close, &QPushButton::clicked, this, &QDialog::close);
}
