#pragma once

#include "ui/deskwindow.h"

class QLabel;
class QPushButton;

// Tells that the relay modules' serial port cannot be opened; retry or go on without.
class Tfrm_abbruchfenster : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_abbruchfenster(QWidget* parent = nullptr);

    QLabel* lbl_infotext1 = nullptr;
    QLabel* lbl_infotext2 = nullptr;
    QLabel* lbl_infotext3 = nullptr;
    QPushButton* btn_nochmal = nullptr;
    QPushButton* btn_abbruch = nullptr;
};
