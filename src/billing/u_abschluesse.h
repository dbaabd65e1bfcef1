#pragma once

#include "ui/deskwindow.h"

class QPushButton;
class QLabel;

// The closed daily accounts with their bills and sums.
class Tfrm_abschluesse : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_abschluesse(QWidget* parent = nullptr);

    QPushButton* btn_close = nullptr;
    QLabel* lbl_summew = nullptr;
};
