#pragma once

#include "ui/deskwindow.h"

class FieldForm;
class QGroupBox;
class QLabel;
class QPushButton;
class RecordGrid;
class RecordNavigator;
class RecordSet;
class RecordSetModel;

// The parameter row (money decimals, receipt settings) and the price profile: the percentage of
// the hourly price charged in each hour of each weekday. Closing stores what is pending and
// takes the money decimals over for the session.
class Tfrm_kenngroessen : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_kenngroessen(QWidget* parent = nullptr);

    RecordSet* tbl_kenn = nullptr;
    RecordSet* tbl_preisprofil = nullptr;
    FieldForm* parameterFields = nullptr;
    RecordNavigator* DBNavigator1 = nullptr;
    QGroupBox* gb_beleg = nullptr;
    RecordGrid* dgr_profil = nullptr;
    RecordNavigator* DBNavigator2 = nullptr;
    QPushButton* btn_close = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void setupParameters(QWidget* parent);
    void setupProfile(QWidget* parent);

    RecordSetModel* profileModel_ = nullptr;
};
