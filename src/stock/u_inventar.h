#pragma once

#include "data/recordset.h"
#include "report/report.h"
#include "ui/deskwindow.h"

class FieldForm;
class QButtonGroup;
class QGroupBox;
class QPlainTextEdit;
class QPushButton;
class RecordGrid;
class RecordNavigator;
class RecordSetModel;

// The stock register: the current item in its fields, all items in a read-only grid below, the
// record navigator between them, and the list ordered by name, category or item number, the
// choice kept for the next run. What is still being typed when the window closes is stored, or
// dropped silently when the table refuses it. "Print" previews the list of all items in the order
// shown, from where it is printed or saved.
class Tfrm_inventar final : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_inventar(QWidget* parent = nullptr);

    RecordSet* TableInventar() { return &records_; }
    FieldForm* form() const { return form_; }
    // 0 "Name", 1 "Category", 2 "Item Number"; -1 when none is chosen.
    int orderChoice() const;
    // The list "Print" shows: every item in the current order.
    Report::Document inventoryList();

    QPlainTextEdit* DBMemo1 = nullptr;
    RecordNavigator* DBNavigator1 = nullptr;
    RecordGrid* DBGrid1 = nullptr;
    QGroupBox* rg_order = nullptr;
    QPushButton* btn_ausdruck = nullptr;
    QPushButton* btn_close = nullptr;

public slots:
    void rg_orderClick();
    void btn_ausdruckClick();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void setupFields(QWidget* parent);
    void setupOrder(QWidget* parent);
    void setupGrid(QWidget* parent);
    void setupNavigator(QWidget* parent);
    void openInOrder();

    RecordSet records_;
    RecordSetModel* formModel_ = nullptr;
    RecordSetModel* gridModel_ = nullptr;
    FieldForm* form_ = nullptr;
    QButtonGroup* orderButtons_ = nullptr;
    int openedOrder_ = -1; // the choice the set was last opened in
};
