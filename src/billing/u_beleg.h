#pragma once

#include "ui/deskwindow.h"

class QPushButton;

// The receipt on A5 paper; its form is never shown itself.
class Tfrm_beleg : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_beleg(QWidget* parent = nullptr);

    QPushButton* btn_close = nullptr;
};
