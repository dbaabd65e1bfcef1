#include "reservations/u_reservieren.h"

#include <QLineEdit>
#include <QPushButton>

Tfrm_reservieren::Tfrm_reservieren(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_reservieren"), QStringLiteral("Reservation"), parent)
{
    ed_tag = new QLineEdit(body());
    ed_tag->setObjectName(QStringLiteral("ed_tag"));
    ed_tag->hide();
    ed_stunde = new QLineEdit(body());
    ed_stunde->setObjectName(QStringLiteral("ed_stunde"));
    ed_stunde->hide();
    btn_close = addCloseButton();
    // As wide as the hour labels (136), the hour cells (305 from 139) and a scroll bar; as high as
    // the day heading, three hours of slots and the player inputs with the buttons below them.
    setFixedDialogSize(QSize(490, 640));
}
