#include "reservations/u_reservieren.h"

#include <QLineEdit>
#include <QPushButton>

Tfrm_reservieren::Tfrm_reservieren(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_reservieren"), QStringLiteral("Reservation"), parent)
{
    resize(640, 420);
    ed_tag = new QLineEdit(body());
    ed_tag->setObjectName(QStringLiteral("ed_tag"));
    ed_tag->hide();
    ed_stunde = new QLineEdit(body());
    ed_stunde->setObjectName(QStringLiteral("ed_stunde"));
    ed_stunde->hide();
    btn_close = addCloseButton();
}
