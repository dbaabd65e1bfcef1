#pragma once

#include "ui/deskwindow.h"

class QPushButton;

// The receipt on 4 1/4 x 5 1/2 inch paper; its form is never shown itself.
class Tfrm_belegmexiko : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_belegmexiko(QWidget* parent = nullptr);

    QPushButton* btn_close = nullptr;
};
