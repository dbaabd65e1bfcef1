#pragma once

#include "ui/deskwindow.h"

class QPushButton;

// Chooses the currency text shown beside the sums.
class Tfrm_laender : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_laender(QWidget* parent = nullptr);

    QPushButton* btn_close = nullptr;
};
