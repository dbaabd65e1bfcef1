#pragma once

#include "ui/deskwindow.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class RecordGrid;
class RecordNavigator;
class RecordSet;
class RecordSetModel;

// Chooses the currency text shown beside the sums: picked from the countries or typed, stored in
// the registry and shown at once wherever the billing windows show it.
class Tfrm_laender : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_laender(QWidget* parent = nullptr);

    RecordSet* tbl_laender = nullptr;
    QLabel* lbl_head = nullptr;
    RecordGrid* DBGrid1 = nullptr;
    RecordNavigator* DBNavigator1 = nullptr;
    QLabel* lbl_waehrung = nullptr;
    QLineEdit* ed_waehrung = nullptr;
    QPushButton* btn_uebernehmen = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QLabel* lbl_land = nullptr;
    QPushButton* btn_close = nullptr;

public slots:
    void btn_uebernehmenClick();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    RecordSetModel* model_ = nullptr;
};

// Puts the currency text into the four places that show it beside the sums (billing, daily
// account, accounts overview, accounts report): at start-up and when the desk chooses another.
void showCurrencyText(const QString& currency);
