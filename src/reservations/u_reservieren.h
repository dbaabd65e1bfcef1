#pragma once

#include "reservations/slots.h"
#include "ui/deskwindow.h"

#include <vector>

class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QTabWidget;
class QWidget;
class LookupBox;
class QuarterGrid;
class TSmartCard;

// Books free court quarter-hours of one day for a player or a member. Opened from a scheduler
// hour cell; every showing reloads the day, a save stores all marked quarters under one new
// number, and every way of closing recolours the scheduler's day column and the court plan.
class Tfrm_reservieren : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_reservieren(QWidget* parent = nullptr);

    // Opens modally for a scheduler day column (1 to 7) with the hour (1 to 24) at the top.
    int openFor(int column, int hour);
    int datum() const { return datum_; }
    // Reads the day afresh: existing courts free, missing ones black, bookings in their states;
    // marks of an earlier showing are gone.
    void loadDay();
    // Reads the day again and keeps the marks on quarters still free: a marked quarter that another
    // desk booked meanwhile shows booked and unmarked. Returns whether such a mark was dropped.
    bool refreshDay();
    QuarterGrid* grid() const { return grid_; }

    QLineEdit* ed_tag = nullptr;    // day column of the scheduler, hidden
    QLineEdit* ed_stunde = nullptr; // hour, hidden
    QLabel* lbl_uhr = nullptr;
    QLabel* lbl_wochentag1 = nullptr;
    QLabel* lbl_tag1 = nullptr;
    QScrollArea* sb_reservieren = nullptr;
    QTabWidget* pc_player = nullptr;
    QWidget* ts_normal = nullptr;
    QWidget* ts_member = nullptr;
    LookupBox* ed_name = nullptr;
    QLineEdit* ed_telefon = nullptr;
    QDoubleSpinBox* ed_prozente = nullptr;
    QPushButton* btn_hinzufuegen = nullptr;
    LookupBox* ed_mitglied = nullptr;
    QLineEdit* ed_mitgliedsnummer = nullptr;
    QDoubleSpinBox* ed_prozentemitglied = nullptr;
    QLabel* lbl_status = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* btn_close = nullptr;
    QProgressBar* pb_speichern = nullptr;
    // The chip-card terminal, active while the dialog is shown when member cards are in use.
    TSmartCard* sc_reader = nullptr;

public slots:
    void sh_standardMouseUp(int hour, int court, int quarter, Qt::MouseButton button);
    void btn_hinzufuegenClick();
    void BitBtn2Click();
    // A member card was inserted: fill in the member it names and save at once.
    void sc_readerCardActive(int device);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void setupTopBar(QWidget* top);
    void setupPlayerPage();
    void setupMemberPage();
    void loadNames();
    void loadMembers();
    void tickClock();
    std::vector<Slot> markedSlots() const;

    QuarterGrid* grid_ = nullptr;
    int datum_ = 0;
};
