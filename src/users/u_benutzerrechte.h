#pragma once

#include "ui/deskwindow.h"

class QPushButton;

// The administrator's editor of the users' passwords and rights.
class Tfrm_benutzerrechte : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_benutzerrechte(QWidget* parent = nullptr);

    QPushButton* btn_close = nullptr;
};
