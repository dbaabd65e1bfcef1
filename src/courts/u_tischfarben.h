#pragma once

#include "ui/deskwindow.h"

class QPushButton;

// Colour and picture of every court type.
class Tfrm_tischfarben : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_tischfarben(QWidget* parent = nullptr);

    QPushButton* btn_close = nullptr;
};
