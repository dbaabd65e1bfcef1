#pragma once

#include "ui/deskwindow.h"

#include <functional>

class ChoiceBox;
class FieldForm;
class QPushButton;
class RecordNavigator;
class RecordSet;
class tcourt;

// Colour and picture of every court type, shown on a sample tile; "&OK" rebuilds the plan's
// tiles with them.
class Tfrm_tischfarben : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_tischfarben(QWidget* parent = nullptr);

    RecordSet* tbl_tischfarben = nullptr;
    FieldForm* typeFields = nullptr;
    RecordNavigator* DBNavigator1 = nullptr;
    QPushButton* btn_tischfarbe = nullptr;
    tcourt* pnl_farbe = nullptr;
    ChoiceBox* RxDBComboBox1 = nullptr;
    QPushButton* btn_ok = nullptr;
    // The colour dialog cd_tischfarben: the chosen colour, or an invalid one when cancelled.
    std::function<QColor(const QColor& current)> cd_tischfarben;

    // Stores a chosen colour as the current type's, unless it is one the plan reserves.
    void takeColour(const QColor& colour);

public slots:
    void btn_tischfarbeClick();
    void btn_okClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showSample();
    void closeTable();
};
