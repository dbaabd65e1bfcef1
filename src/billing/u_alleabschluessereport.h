#pragma once

#include "ui/deskwindow.h"

class QPushButton;
class QLabel;

// The printed list of daily accounts; its form is never shown itself.
class Tfrm_alleabschluessereport : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_alleabschluessereport(QWidget* parent = nullptr);

    QPushButton* btn_close = nullptr;
    QLabel* lbl_summew = nullptr;
};
