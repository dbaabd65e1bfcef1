#pragma once

#include "ui/deskwindow.h"

class QPushButton;

// Court types and their hourly prices.
class Tfrm_preissetzen : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_preissetzen(QWidget* parent = nullptr);

    QPushButton* btn_close = nullptr;
};
