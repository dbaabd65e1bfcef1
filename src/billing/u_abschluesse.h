#pragma once

#include "ui/deskwindow.h"

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QWidget;
class RecordGrid;
class RecordNavigator;
class RecordSet;
class RecordSetModel;

// The closed daily accounts, newest first, with the bills and the sum of the chosen one; deletes
// accounts closed before a day; the start of the accounts report and the Excel export.
class Tfrm_abschluesse : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_abschluesse(QWidget* parent = nullptr);

    RecordSet* qry_folge = nullptr;
    RecordSet* qry_abrechnungx = nullptr;
    QLabel* lbl_head = nullptr;
    QTabWidget* pc = nullptr;
    QWidget* ts_accounts = nullptr;
    QWidget* ts_print = nullptr;
    QWidget* ts_excel = nullptr;
    RecordGrid* DBGrid1 = nullptr;
    RecordNavigator* DBNavigator1 = nullptr;
    RecordGrid* dgr_abschluss = nullptr;
    QDateEdit* dt_loeschen = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QDateEdit* ed_vondatum = nullptr;
    QDateEdit* ed_bisdatum = nullptr;
    QCheckBox* cb_detail = nullptr;
    QPushButton* btn_preview = nullptr;
    QPushButton* btn_ausdruck = nullptr;
    QLineEdit* ed_tischbetrag = nullptr;
    QLabel* lbl_summew = nullptr;
    QPushButton* btn_rechner = nullptr;
    QPushButton* btn_close = nullptr;

public slots:
    void BitBtn2Click();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void setupAccountsPage();
    void setupPrintPage();
    void setupBottom(QWidget* panel);
    void openAccounts();
    void ds_folgeDataChange();

    RecordSetModel* folgeModel_ = nullptr;
    RecordSetModel* linesModel_ = nullptr;
};
