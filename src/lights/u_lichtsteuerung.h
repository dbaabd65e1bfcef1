#pragma once

#include "ui/deskwindow.h"

class QPushButton;

// Assigns a relay output to every court.
class Tfrm_lichtsteuerung : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_lichtsteuerung(QWidget* parent = nullptr);

    QPushButton* btn_close = nullptr;
};
