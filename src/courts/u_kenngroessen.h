#pragma once

#include "ui/deskwindow.h"

class QPushButton;

// The parameter row and the price profile.
class Tfrm_kenngroessen : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_kenngroessen(QWidget* parent = nullptr);

    QPushButton* btn_close = nullptr;
};
