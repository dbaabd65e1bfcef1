#pragma once

#include "ui/deskwindow.h"

class QLabel;
class QLineEdit;
class QPushButton;
class RecordGrid;
class RecordSet;
class RecordSetModel;

// Closes the open bills into one numbered daily account: lists the open lines with their sum and
// closes them with one button, once per showing.
class Tfrm_Tagesabrechnung : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_Tagesabrechnung(QWidget* parent = nullptr);

    RecordSet* qry_detail = nullptr;
    QLabel* lbl_head = nullptr;
    RecordGrid* dgr_tagesabr = nullptr;
    QLabel* lbl_summe = nullptr;
    QLineEdit* ed_courtbetrag = nullptr;
    QLabel* lbl_summew = nullptr;
    QLabel* lbl_datum = nullptr;
    QLineEdit* ed_datum = nullptr;
    QPushButton* btn_abrechnen = nullptr;
    QPushButton* btn_preview = nullptr;
    QPushButton* btn_close = nullptr;

public slots:
    void btn_abrechnenClick();
    // Lists the open lines again after another desk billed or closed an account, so that the desk
    // sees what its closing would take; nothing once this showing has closed.
    void refreshLines();
    void btn_previewClick();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    RecordSetModel* model_ = nullptr;
};
