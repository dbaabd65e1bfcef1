#pragma once

#include "reservations/reservationlist.h"
#include "ui/deskwindow.h"

#include <QDate>

#include <array>

class QButtonGroup;
class QDateEdit;
class QGroupBox;
class QLabel;
class QPushButton;
class QTableView;

// The court reservations of one day, for one court or all, and their cancellation. Created once;
// it loads the list each time it is shown and refreshes the scheduler when it closes. Callers
// open it with showFor() instead of writing into its controls.
class Tfrm_reservierungsliste final : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_reservierungsliste(QWidget* parent = nullptr);

    // Shows the day's reservations of one court, or of all courts with allCourts (-1).
    Q_INVOKABLE void showFor(const QDate& day, int court);

    // 0 "order by reservator", 1 "order by court".
    int sortIndex() const;
    // -1 for all courts, else the court number the list shows.
    int court() const;
    const ReservationListModel* lines() const { return model_; }
    // Loads the list again after another desk changed reservations of the day it shows (0: of no
    // one day); the line in hand stays current while it is listed.
    void refreshLines(int datum);

    QGroupBox* rg_sortierung = nullptr;
    QTableView* DBGrid1 = nullptr;
    QLabel* lbl_hinweis = nullptr;
    QLabel* lbl_wochentag1 = nullptr;
    QDateEdit* ed_datum = nullptr;
    QPushButton* btn_daybefore = nullptr;
    QPushButton* btn_nextday = nullptr;
    // "-1" for all courts, else the court number; never shown.
    QLabel* lbl_platz = nullptr;
    QPushButton* pnl_all = nullptr;
    std::array<QPushButton*, courtCount + 1> pnl_court{}; // pnl_1 .. pnl_12; index 0 unused
    QPushButton* BitBtn1 = nullptr;
    QPushButton* btn_close = nullptr;

public slots:
    void ed_datumChange();
    void btn_daybeforeClick();
    void btn_nextdayClick();
    void pnl_allClick();
    void pnl_courtClick(int court);
    void rg_sortierungClick();
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void setupSortChoice(QWidget* parent);
    void setupGrid(QWidget* parent);
    QWidget* setupDayAndCourts(QWidget* parent);
    void setupButtons();

    void formShow();
    void loadList();
    QPushButton* courtButton(int court) const;
    void paintCourtButton(int court, const QColor& colour);
    void selectCourtButton(int court);
    void refreshOtherWindows();

    QButtonGroup* sortButtons_ = nullptr;
    ReservationListModel* model_ = nullptr;
    std::array<CourtButtonState, courtCount + 1> courts_{};
};
