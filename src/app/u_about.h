#pragma once

#include "ui/deskwindow.h"

class QLabel;
class QPushButton;

// Who made the program and how to reach them.
class Tfrm_about : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_about(QWidget* parent = nullptr);

    QLabel* lbl_email = nullptr;
    QLabel* lbl_homepage = nullptr;
    QPushButton* BitBtn1 = nullptr;

public slots:
    void lbl_emailClick();
    void lbl_homepageClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
