#pragma once

#include "ui/deskwindow.h"

class QPushButton;

// The log of cancelled reservations, newest first.
class Tfrm_aktivitaeten : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_aktivitaeten(QWidget* parent = nullptr);

    QPushButton* btn_close = nullptr;
};
