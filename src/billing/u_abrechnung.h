#pragma once

#include "billing/courtbilling.h"
#include "ui/deskwindow.h"

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTimeEdit;

// Bills the time one reservation occupied one court today: lists the court's unpaid reservations,
// prices the chosen one, marks it paid and writes its bill line. One bill per showing.
class Tfrm_abrechnung : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_abrechnung(QWidget* parent = nullptr);

    // Opens modally for a court, as the court plan's "calculate court" does.
    int openFor(int court);
    // The receipt values of the last bill, for the receipt printout.
    const CourtBilling::Belegdaten& belegdaten() const { return beleg_; }
    // Lists the court's unpaid reservations again after another desk booked, cancelled or billed;
    // the line in hand stays chosen while it is unpaid. Nothing once this showing has billed.
    void refreshLines();

    QLineEdit* ed_court = nullptr;
    QLabel* lbl_abrechnen = nullptr;
    QLineEdit* ed_betrag = nullptr;
    QCheckBox* cb_printbill = nullptr;
    QDateEdit* dtp_datum = nullptr;
    QTimeEdit* dtp_zeit = nullptr;
    QPushButton* btn_abrechnen = nullptr;
    QTableWidget* gr_spieler = nullptr;
    QPushButton* btn_close = nullptr;
    QPushButton* btn_rechner = nullptr;
    QProgressBar* pb_calculation = nullptr;

public slots:
    void btn_abrechnenClick();
    void btn_rechnerClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setupTop(QWidget* group);
    void setupList(QWidget* group);
    void showLines();

    QList<CourtBilling::Line> lines_;
    CourtBilling::Belegdaten beleg_;
};
