#pragma once

#include "reservations/reservationreport.h"
#include "ui/deskwindow.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;

// Prints, or previews, the reservations of a date range and a court range with the sums the three
// check boxes ask for. The company name and the three choices are kept between sessions.
class Tfrm_druck : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_druck(QWidget* parent = nullptr);

    // The printout the controls describe.
    ReservationReport::Options options() const;

    QComboBox* cb_vonplatz = nullptr;
    QComboBox* cb_bisplatz = nullptr;
    QDateEdit* dp_vondatum = nullptr;
    QDateEdit* dp_bisdatum = nullptr;
    QLineEdit* ed_companyname = nullptr;
    QCheckBox* cb_details = nullptr;
    QCheckBox* cb_courtsum = nullptr;
    QCheckBox* cb_daysum = nullptr;
    QPushButton* btn_preview = nullptr;
    QPushButton* btn_print = nullptr;
    QPushButton* btn_close = nullptr;

public slots:
    // Both buttons: the preview for "&Preview", the printer for "P&rint".
    void btn_previewClick();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void setupInputs(QWidget* panel);
    void produce(bool preview);
};
