#pragma once

#include "courts/courtplan.h"
#include "ui/deskwindow.h"

#include <array>

class QAction;
class QCheckBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;
class tcourt;

// The court plan: the hall's courts as tiles with who plays now, the hub of the desk. Created
// once; its tiles and its minute timer live as long as the program, also while it is hidden.
class Tfrm_courts : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_courts(QWidget* parent = nullptr);

    // The tile of a court 1 to 12; null when the court has none.
    tcourt* tile(int court) const;
    // Puts a tile for the look's court on the floor, in its place of the tile table.
    tcourt* addTile(const CourtPlan::TileLook& look);
    void removeTile(int court);
    void removeAllTiles();
    // Writes the tiles' places into Tische.
    void storeTilePlaces();
    // The floor the tiles stand on; tile places are relative to it.
    QWidget* floor() const { return floor_; }

    QPushButton* sw_alleon = nullptr;
    QPushButton* sw_alleoff = nullptr;
    std::array<QPushButton*, 5> sw_gruppeon{}; // sw_gruppe1on .. sw_gruppe4on; index 0 unused
    std::array<QPushButton*, 5> sw_gruppeoff{};
    QPushButton* btn_schalttafel = nullptr;
    QCheckBox* cb_max = nullptr;
    QCheckBox* cb_fix = nullptr;
    QPushButton* btn_scheduler = nullptr;
    QPushButton* btn_reservations = nullptr;
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
    QTimer* tm_laufzeit = nullptr;

public slots:
    // The running-time refresh other windows call after a change.
    void tm_laufzeitTimer();
    void floorClick();
    void mnu_calculateClick();
    void mnu_courtreservationsClick();
    void mnu_pricesClick();
    void mnu_parametersClick();
    void mnu_deletecourtClick();
    void mnu_bulponClick();
    void bulpoff1Click();
    void btn_schedulerClick();
    void btn_reservationsClick();
    void btn_schalttafelClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* setupRightPanel();
    QWidget* setupBottomPanel();
    void setupMenu();
    void showTiles();
    void tileMouseMove(tcourt* tile, QMouseEvent* event);
    void openCourtMenu(tcourt* tile, const QPoint& globalPos);

    QWidget* floor_ = nullptr;
    std::array<tcourt*, CourtPlan::lastCourt + 1> tiles_{}; // index 0 unused
    CourtPlan::CourtStateQueries states_;
    QPoint pressed_;
};

// The running-time refresh that windows run after they changed reservations or bills: the court
// plan's, if the plan exists. A failure there must not undo or interrupt the change that was
// made, so it is ignored.
void refreshCourtPlan();
