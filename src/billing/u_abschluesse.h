#pragma once

#include "ui/deskwindow.h"
#include "xls/xlswriter.h"

class QButtonGroup;
class QCheckBox;
class QDateEdit;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTimer;
class QWidget;
class RecordGrid;
class RecordNavigator;
class RecordSet;
class RecordSetModel;

// The animation shown while an export searches the accounts: a magnifier circling over a sheet.
class SearchAnimation final : public QWidget {
public:
    explicit SearchAnimation(QWidget* parent = nullptr);
    void start();
    void stop();
    bool isRunning() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer* timer_;
    int frame_ = 0;
};

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
    QDateEdit* ed_excelvondatum = nullptr;
    QDateEdit* ed_excelbisdatum = nullptr;
    QLineEdit* fe_excel = nullptr;
    QGroupBox* rg_exceltyp = nullptr;
    QGroupBox* rg_exporttyp = nullptr;
    QPushButton* btn_excelstart = nullptr;
    SearchAnimation* an_excel = nullptr;
    QPushButton* btn_excelansehen = nullptr;
    QLineEdit* ed_tischbetrag = nullptr;
    QLabel* lbl_summew = nullptr;
    QPushButton* btn_rechner = nullptr;
    QPushButton* btn_close = nullptr;
    // The export's writer: its number formats follow the session's decimals on each showing.
    TXLSWrite xls_tagesabrechnungen;

    // The choices of the two radio groups, by their position.
    int exceltyp() const;
    int exporttyp() const;

public slots:
    void BitBtn2Click();
    // Both report buttons: a preview from "&Preview", straight to the printer from "P&rint".
    void btn_previewClick();
    void btn_excelstartClick();
    void btn_excelansehenClick();
    // F5 in the export path, or its button: the file dialog.
    void fe_excelBrowse();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setupAccountsPage();
    void setupPrintPage();
    void setupExcelPage();
    QHBoxLayout* setupExcelPath();
    QHBoxLayout* setupExcelButtons();
    QGroupBox* radioGroup(const char* name, const QString& accessibleName, const QStringList& captions,
                          int columns, int designChoice, QButtonGroup*& buttons);
    void setupBottom(QWidget* panel);
    void openAccounts();
    void ds_folgeDataChange();

    RecordSetModel* folgeModel_ = nullptr;
    RecordSetModel* linesModel_ = nullptr;
    QButtonGroup* exceltypButtons_ = nullptr;
    QButtonGroup* exporttypButtons_ = nullptr;
};
