#pragma once

#include "data/recordset.h"
#include "ui/deskwindow.h"

#include <optional>

class FieldForm;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QWidget;
class RecordGrid;
class RecordNavigator;
class RecordSetModel;

// The members register: every field of a member on one tab, a search over number, names, ZIP and
// city on another, all members in a grid on the third, and the record navigator below. New members
// take the next free number while "Autoserve Membernumber" is ticked, drawn again on posting when
// another desk has stored a member under it meanwhile; a member's monthly discounts
// go with him. What is being typed is stored before a search or closing opens the register anew,
// or the window stays as it is with the table's message.
class Tfrm_mitglieder : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_mitglieder(QWidget* parent = nullptr);

    RecordSet* TableMitglieder() { return &records_; }
    FieldForm* form() const { return form_; }

    QLabel* lbl_nachname = nullptr;
    QLabel* lbl_vorname = nullptr;
    QTabWidget* PageControl = nullptr;
    QWidget* TabSheetPersoenlich = nullptr;
    QWidget* TabSheetFilter = nullptr;
    QWidget* tbs_ueberblick = nullptr;
    QLineEdit* EditNr = nullptr;
    QLineEdit* EditVNam = nullptr;
    QLineEdit* EditNNam = nullptr;
    QLineEdit* EditPlz = nullptr;
    QLineEdit* EditOrt = nullptr;
    QPushButton* btn_suchen = nullptr;
    QPushButton* btn_suchenende = nullptr;
    RecordGrid* gr_mitglieder = nullptr;
    RecordNavigator* DBNavigator = nullptr;
    QCheckBox* cb_mitohne = nullptr;
    QPushButton* btn_close = nullptr;

public slots:
    void btn_suchenClick();
    void btn_suchenendeClick();
    void PageControlChange(int index);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void setupHeader(QWidget* header);
    void setupDataPage();
    void setupSearchPage();
    void setupOverviewPage();
    void setupNavigator();
    void showHeader();
    void openUnfiltered();

    RecordSet records_;
    // The number drawn for the row being added while "Autoserve Membernumber" was ticked: posting
    // draws again only a number still as drawn.
    std::optional<int> drawnNumber_;
    RecordSetModel* formModel_ = nullptr;
    RecordSetModel* gridModel_ = nullptr;
    FieldForm* form_ = nullptr;
};
