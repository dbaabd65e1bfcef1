#pragma once

#include "ui/deskwindow.h"

class QPushButton;
class QDateEdit;
class QLabel;

// The reservations of one day, for one court or all, with cancellation.
class Tfrm_reservierungsliste : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_reservierungsliste(QWidget* parent = nullptr);

    QPushButton* btn_close = nullptr;
    QDateEdit* ed_datum = nullptr;
    // "-1" for all courts, else the court number.
    QLabel* lbl_platz = nullptr;
};
