#pragma once

#include "ui/deskwindow.h"

class FieldForm;
class QLabel;
class QPushButton;
class RecordGrid;
class RecordNavigator;
class RecordSet;

// Court types with their names and hourly prices: added, renamed, priced and deleted here; their
// colours and pictures are set in the colours window.
class Tfrm_preissetzen : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_preissetzen(QWidget* parent = nullptr);

    RecordSet* tbl_tischtypen = nullptr;
    RecordGrid* dgr_minutenpreis = nullptr;
    FieldForm* typeFields = nullptr;
    RecordNavigator* DBNavigator1 = nullptr;
    QLabel* lbl_hilfe = nullptr;
    QPushButton* btn_close = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};
