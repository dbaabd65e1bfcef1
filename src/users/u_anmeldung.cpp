#include "users/u_anmeldung.h"

#include <QApplication>
#include <QPushButton>
#include <QStyle>

Tfrm_anmeldung::Tfrm_anmeldung(QWidget* parent)
    : LoginWindow(QStringLiteral("frm_anmeldung"), QStringLiteral("&OK"), parent)
{
    btn_anmelden->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    btn_close->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
}
