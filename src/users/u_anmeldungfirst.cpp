#include "users/u_anmeldungfirst.h"

#include "data/session.h"

Tfrm_anmeldungfirst::Tfrm_anmeldungfirst(QWidget* parent)
    : LoginWindow(QStringLiteral("frm_anmeldungfirst"), QStringLiteral("OK"), parent)
{
}

void Tfrm_anmeldungfirst::loggedIn()
{
    Session::Angemeldet = true;
}
