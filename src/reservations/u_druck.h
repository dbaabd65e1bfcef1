#pragma once

#include "ui/deskwindow.h"

class QPushButton;

// Prints the reservations of a date range and a court range.
class Tfrm_druck : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_druck(QWidget* parent = nullptr);

    QPushButton* btn_close = nullptr;
};
