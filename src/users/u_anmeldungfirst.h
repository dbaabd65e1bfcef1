#pragma once

#include "users/loginwindow.h"

// The administrator's log-in at program start; closing it without success ends the program.
class Tfrm_anmeldungfirst : public LoginWindow {
    Q_OBJECT
public:
    explicit Tfrm_anmeldungfirst(QWidget* parent = nullptr);

protected:
    void loggedIn() override;
};
