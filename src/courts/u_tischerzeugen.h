#pragma once

#include "ui/deskwindow.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Adds a court of a chosen type to the hall; its tile appears on the plan at once and the dialog
// stays open for the next court.
class Tfrm_tischerzeugen : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_tischerzeugen(QWidget* parent = nullptr);

    QLabel* lbl_tischneu = nullptr;
    QLineEdit* ed_tischnummer = nullptr;
    QLabel* lbl_typ = nullptr;
    // The court types by name; each item carries its TypNr.
    QComboBox* dlcb_tischtypen = nullptr;
    QPushButton* btn_neuertisch = nullptr;
    QPushButton* btn_close = nullptr;

public slots:
    void btn_neuertischClick();

protected:
    void showEvent(QShowEvent* event) override;
};
