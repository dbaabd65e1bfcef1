#pragma once

#include "ui/deskwindow.h"

class QPushButton;

// The names and telephone numbers of players who are not members.
class Tfrm_namensliste : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_namensliste(QWidget* parent = nullptr);

    QPushButton* btn_close = nullptr;
};
