#pragma once

#include "ui/deskwindow.h"

class QPushButton;

// Writes member and employee chip cards and keeps the card-reader settings.
class Tfrm_kartenleser : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_kartenleser(QWidget* parent = nullptr);

    QPushButton* btn_close = nullptr;
};
