#pragma once

#include "ui/deskwindow.h"

class QPushButton;
class QLabel;

// Closes the open bills into one numbered daily account.
class Tfrm_Tagesabrechnung : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_Tagesabrechnung(QWidget* parent = nullptr);

    QPushButton* btn_close = nullptr;
    QLabel* lbl_summew = nullptr;
};
