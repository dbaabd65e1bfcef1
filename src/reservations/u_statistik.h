#pragma once

#include "ui/deskwindow.h"

class QPushButton;

// How the reserved quarter-hours are shared among the courts.
class Tfrm_statistik : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_statistik(QWidget* parent = nullptr);

    QPushButton* btn_close = nullptr;
};
