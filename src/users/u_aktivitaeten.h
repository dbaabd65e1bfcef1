#pragma once

#include "ui/deskwindow.h"

class QLabel;
class QPushButton;
class RecordGrid;
class RecordNavigator;
class RecordSet;
class RecordSetModel;

// The log of cancelled reservations, newest first, for the administrator to watch; it only reads.
class Tfrm_aktivitaeten : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_aktivitaeten(QWidget* parent = nullptr);

    RecordSet* qry_aktivitaeten = nullptr;
    QLabel* lbl_head = nullptr;
    RecordGrid* DBGrid1 = nullptr;
    RecordNavigator* DBNavigator1 = nullptr;
    QPushButton* btn_close = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    RecordSetModel* model_ = nullptr;
};
