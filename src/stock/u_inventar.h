#pragma once

#include "ui/deskwindow.h"

class QPushButton;

// The stock register.
class Tfrm_inventar : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_inventar(QWidget* parent = nullptr);

    QPushButton* btn_close = nullptr;
};
