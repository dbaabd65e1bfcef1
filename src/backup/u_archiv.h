#pragma once

#include "ui/deskwindow.h"

class QPushButton;

// Saves the tables into dated archives and restores them.
class Tfrm_archiv : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_archiv(QWidget* parent = nullptr);

    QPushButton* btn_close = nullptr;
};
