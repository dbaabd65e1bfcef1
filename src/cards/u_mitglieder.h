#pragma once

#include "ui/deskwindow.h"

class QPushButton;

// The members register.
class Tfrm_mitglieder : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_mitglieder(QWidget* parent = nullptr);

    QPushButton* btn_close = nullptr;
};
