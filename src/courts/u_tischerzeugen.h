#pragma once

#include "ui/deskwindow.h"

class QPushButton;

// Adds a court of a chosen type to the hall.
class Tfrm_tischerzeugen : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_tischerzeugen(QWidget* parent = nullptr);

    QPushButton* btn_close = nullptr;
};
