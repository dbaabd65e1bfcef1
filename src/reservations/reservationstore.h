#pragma once

#include "reservations/slots.h"

#include <QList>
#include <QString>

#include <functional>
#include <vector>

inline constexpr int keinMitglied = -17; // member number of a booking not made for a member

// One save of the reservation dialog: the rows it appends share one number.
struct NewReservation {
    int datum = 0; // day count
    QString reservierer;
    int mitgliedsnummer = keinMitglied;
    double prozente = 0;        // discount of the dialog; stored rounded, halves to even
    std::vector<Slot> selected; // the quarter-hours chosen, on any courts
};

// The rows of one number on one court of one day, as the lists show and cancel them.
struct CourtReservation {
    int reservierungsnummer = 0;
    int datum = 0;
    int platz = 0;
    QString reservierer;
    bool bezahlt = false;
    int dauer = 0;  // quarter-hours
    int stunde = 0; // first row
    int viertelstunde = 0;

    double start() const { return slotStart(datum, stunde, viertelstunde); }
};

// Length and earliest quarter of the rows of one number on one court of one day.
struct CourtReservationSpan {
    int dauer = 0;
    int stunde = 0;
    int viertelstunde = 0;
};
CourtReservationSpan courtReservationSpan(int datum, int reservierungsnummer, int platz);

enum class ListOrder { byReservator, byCourt };

int fNeueReservierungsnummer();

// Appends one row per slot under a new number, all or nothing; returns the number. The rows go in
// court by court, 1 to 12, and afterCourt is told after each court (for a progress bar).
int storeReservation(const NewReservation& reservation,
                     const std::function<void(int court)>& afterCourt = {});

// Writes the activity record of the line, then deletes every row of its number on all courts,
// all or nothing. recorded is the moment of the cancellation.
void cancelReservation(const CourtReservation& line, double recorded);

// Deletes the rows with Datum before today - days; rows of the cut-off day stay.
int purgeReservations(int today, int days);

// The court reservations of a day on the courts vonPlatz to bisPlatz, with length and first slot.
QList<CourtReservation> courtReservationsOfDay(int datum, int vonPlatz, int bisPlatz, ListOrder order);
// Those of a range of days, ordered by Datum, Platz, Reservierer, Reservierungsnummer.
QList<CourtReservation> courtReservationsOfRange(int von, int bis, int vonPlatz, int bisPlatz);
