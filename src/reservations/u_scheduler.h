#pragma once

#include "ui/deskwindow.h"

class QPushButton;
class QDateEdit;

// The week scheduler: seven days of court quarter-hours coloured by their state.
class Tfrm_scheduler : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_scheduler(QWidget* parent = nullptr);

    QPushButton* BitBtn1 = nullptr;
    QDateEdit* dp_datum = nullptr;

public slots:
    // The week refresh other windows call after a change.
    void dp_datumCloseUp();
};
