#pragma once

#include "ui/deskwindow.h"

#include <array>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QPushButton;
class QScrollArea;
class QuarterGrid;

// The week scheduler: seven days from a start date side by side, each hour a cell with the
// court quarter-hours coloured by their state. A click books, the context menu lists a day,
// closing purges old reservations. A refresh recolours the light quarter objects with one walk.
class Tfrm_scheduler : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_scheduler(QWidget* parent = nullptr);

    // The day a column (1 to 7) shows.
    int columnDate(int column) const { return start_ + column - 1; }
    int startDate() const { return start_; }
    // Recolours one day column from a walk over its day alone, as the reservation dialog does on
    // closing; the other columns keep what they show.
    void refreshColumn(int column);
    // Recolours what another desk changed: the column of its day when the week shows it, the
    // whole week for a change of no one day (0).
    void showChangedDay(int datum);
    QuarterGrid* grid() const { return grid_; }

    QScrollArea* sb_scheduler = nullptr;
    QDateEdit* dp_datum = nullptr;
    QLineEdit* ed_datum = nullptr; // the day column the mouse last moved over
    std::array<QLabel*, 8> lbl_wochentag{};
    std::array<QLabel*, 8> lbl_tag{};
    QLabel* lbl_uhr = nullptr;
    QPushButton* btn_weekbefore = nullptr;
    QPushButton* btn_daybefore = nullptr;
    QPushButton* btn_nextday = nullptr;
    QPushButton* btn_nextweek = nullptr;
    QPushButton* btn_up = nullptr;
    QPushButton* btn_middle = nullptr;
    QPushButton* btn_down = nullptr;
    QComboBox* cb_datenloeschen = nullptr;
    QCheckBox* cb_max = nullptr;
    QPushButton* btn_courts = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QMenu* pm_scheduler = nullptr;
    QAction* mnu_list = nullptr;

public slots:
    // The week refresh other windows call after a change: the week from the picker's date.
    void dp_datumCloseUp();
    void btn_weekbeforeClick() { moveBy(-7); }
    void btn_daybeforeClick() { moveBy(-1); }
    void btn_nextdayClick() { moveBy(1); }
    void btn_nextweekClick() { moveBy(7); }
    void btn_courtsClick();
    void mnu_listClick();
    void pnl_standardClick(int column, int hour);
    void scrollTo(int position);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void setupTopBar(QWidget* top);
    void setupBottomBar(QWidget* bottom);
    void setupKeys();
    void moveBy(int days);
    void showWeek(int start);
    void setDayTexts(int start);
    void showOccupancy(int start);
    void tickClock();

    QuarterGrid* grid_ = nullptr;
    int start_ = 0;
};
