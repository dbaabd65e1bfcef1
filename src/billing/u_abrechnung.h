#pragma once

#include "ui/deskwindow.h"

class QPushButton;
class QLabel;
class QLineEdit;

// Bills the time one reservation occupied one court.
class Tfrm_abrechnung : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_abrechnung(QWidget* parent = nullptr);

    QPushButton* btn_close = nullptr;
    QLineEdit* ed_court = nullptr;
    QLabel* lbl_abrechnen = nullptr;
};
