#pragma once

#include "ui/deskwindow.h"

class QPushButton;

// Puts relay outputs into the four switch groups.
class Tfrm_gruppensteuerung : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_gruppensteuerung(QWidget* parent = nullptr);

    QPushButton* btn_close = nullptr;
};
