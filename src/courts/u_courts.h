#pragma once

#include "ui/deskwindow.h"

class QPushButton;
class QAction;
class QLineEdit;
class QMenu;

// The court plan: the hall's courts as tiles with who plays now, the hub of the desk.
class Tfrm_courts : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_courts(QWidget* parent = nullptr);

    QPushButton* btn_close = nullptr;
    QMenu* pm_courts = nullptr;
    QAction* mnu_calculate = nullptr;
    QAction* mnu_courtreservations = nullptr;
    QAction* mnu_prices = nullptr;
    QAction* mnu_parameters = nullptr;
    QAction* mnu_deletecourt = nullptr;
    QAction* mnu_bulpon = nullptr;
    QAction* bulpoff1 = nullptr;
    // The court the mouse last moved over, as text; empty over the floor.
    QLineEdit* ed_courtnummer = nullptr;

public slots:
    // The running-time refresh other windows call after a change.
    void tm_laufzeitTimer();
    void mnu_pricesClick();
    void mnu_parametersClick();
};

// The running-time refresh that windows run after they changed reservations or bills: the court
// plan's, if the plan exists. A failure there must not undo or interrupt the change that was
// made, so it is ignored.
void refreshCourtPlan();
