#pragma once

#include "users/loginwindow.h"

// The log-in opened from the main window at any time to change the user.
class Tfrm_anmeldung : public LoginWindow {
    Q_OBJECT
public:
    explicit Tfrm_anmeldung(QWidget* parent = nullptr);
};
