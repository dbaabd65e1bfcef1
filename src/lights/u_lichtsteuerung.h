#pragma once

#include "ui/deskwindow.h"

class ChoiceBox;
class FieldForm;
class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;
class RecordGrid;
class RecordNavigator;
class RecordSet;
class RecordSetModel;

// Assigns a relay output to every court, switches it for a test, and edits whether light switching
// is in use, its serial port and the pause before each switching frame.
class Tfrm_lichtsteuerung final : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_lichtsteuerung(QWidget* parent = nullptr);

    RecordGrid* gr_anschluss = nullptr;
    RecordNavigator* navigator = nullptr;
    QLabel* lbl_box1 = nullptr;
    ChoiceBox* cb_line = nullptr;
    QPushButton* btn_uebernehmen = nullptr;
    QPushButton* btn_delete = nullptr;
    QPushButton* btn_lichtein = nullptr;
    QPushButton* btn_lichtaus = nullptr;
    QPushButton* btn_automatisch = nullptr;
    // Whether the court's light follows its bookings, and how many minutes before and after.
    QCheckBox* cb_lichtautomatik = nullptr;
    QSpinBox* se_vorlauf = nullptr;
    QSpinBox* se_nachlauf = nullptr;
    QLabel* lbl_box2 = nullptr;
    QCheckBox* dcb_lichtsteuerungein = nullptr;
    ChoiceBox* cb_comport = nullptr;
    ChoiceBox* cb_wartezeit = nullptr;
    QPushButton* btn_uebernehmen1 = nullptr;
    QPushButton* btn_close = nullptr;

    RecordSet* tische() const { return tische_; }
    RecordSet* kennzahlen() const { return kennzahlen_; }

public slots:
    void btn_uebernehmenClick();
    void btn_deleteClick();
    void btn_lichteinClick();
    void btn_lichtausClick();
    void btn_automatischClick();
    void btn_uebernehmen1Click();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* setupCourts();
    QWidget* setupAssignment();
    QWidget* setupParameters();
    void showLine();
    void lineChosen();
    // A light setting changed: the court row is edited, "Take over" stores it.
    void settingChanged(const QString& field, const QVariant& value);
    void testSwitch(bool on);

    RecordSet* tische_ = nullptr;
    RecordSetModel* tischeModel_ = nullptr;
    RecordSet* kennzahlen_ = nullptr;
    RecordSetModel* kennzahlenModel_ = nullptr;
    FieldForm* parameters_ = nullptr;
};
