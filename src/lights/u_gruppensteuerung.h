#pragma once

#include "ui/deskwindow.h"

#include <QSet>

class QPushButton;
class RecordGrid;
class RecordSet;
class SwitchPlanModel;

// The switch plan: a label and a group 0 to 4 for every relay output, and buttons that switch a
// whole group or all outputs. Outputs used by a court show lime, group cells their group's colour.
class Tfrm_gruppensteuerung final : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_gruppensteuerung(QWidget* parent = nullptr);

    RecordGrid* gr_schaltplan = nullptr;
    QPushButton* sw_alleon = nullptr;
    QPushButton* sw_alleoff = nullptr;
    QPushButton* sw_gruppe1on = nullptr;
    QPushButton* sw_gruppe1off = nullptr;
    QPushButton* sw_gruppe2on = nullptr;
    QPushButton* sw_gruppe2off = nullptr;
    QPushButton* sw_gruppe3on = nullptr;
    QPushButton* sw_gruppe3off = nullptr;
    QPushButton* sw_gruppe4on = nullptr;
    QPushButton* sw_gruppe4off = nullptr;
    QPushButton* btn_close = nullptr;

    RecordSet* schaltplan() const { return schaltplan_; }

    // The colour of group 1 to 4 (yellow, aqua, red, green); invalid for group 0.
    static QColor groupColour(int gruppe);

public slots:
    void gr_schaltplanExit();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void setupGrid();
    QWidget* setupButtons();
    void switchGroup(int gruppe, bool on);

    RecordSet* schaltplan_ = nullptr;
    SwitchPlanModel* model_ = nullptr;
};
