#pragma once

#include "ui/deskwindow.h"

class QPushButton;

// All forty relay outputs with their on and off buttons.
class Tfrm_schalttafel : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_schalttafel(QWidget* parent = nullptr);

    QPushButton* btn_close = nullptr;
};
