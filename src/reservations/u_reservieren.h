#pragma once

#include "ui/deskwindow.h"

class QPushButton;
class QLineEdit;

// Books free court quarter-hours of one day for a player or a member.
class Tfrm_reservieren : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_reservieren(QWidget* parent = nullptr);

    QPushButton* btn_close = nullptr;
    // Day column (1 to 7) and hour (1 to 24) the scheduler writes before showing the dialog.
    QLineEdit* ed_tag = nullptr;
    QLineEdit* ed_stunde = nullptr;
};
