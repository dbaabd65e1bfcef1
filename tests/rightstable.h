#pragma once

// The rights of the log-in and the controls each one enables, written out as the desk's rights
// table gives them, row by row in the order they are applied, and apart from it the one command
// added since, which no row of the table names. Tests compare the program against these lists,
// not against the program's own map.

#include <algorithm>
#include <array>
#include <iterator>
struct GovernedControl {
    const char* right;
    const char* window; // objectName of the window holding the control
    const char* control;
};

inline constexpr GovernedControl rightsTable[] = {
    {"Benutzerrechte", "frm_main", "mnu_rechte"},
    {"Mitglieder", "frm_main", "mnu_mitglieder"},
    {"Mitglieder", "frm_main", "btn_mitgliederdaten"},
    {"Kenngroessen", "frm_main", "mnu_kenngroessen"},
    {"Kenngroessen", "frm_courts", "mnu_parameters"},
    {"Kenngroessen", "frm_main", "btn_kenngroessen"},
    {"Preise", "frm_main", "mnu_prices"},
    {"Preise", "frm_courts", "mnu_prices"},
    {"Tischverwaltung", "frm_main", "mnu_courts"},
    {"Tischverwaltung", "frm_main", "btn_tische"},
    {"Tischverwaltung", "frm_main", "mnu_scheduler"},
    {"Tischverwaltung", "frm_main", "btn_scheduler"},
    {"Tischverwaltung", "frm_main", "mnu_schalttafel"},
    {"ListofNames", "frm_main", "mnu_namensliste"},
    {"Aktivitaeten", "frm_main", "mnu_activities"},
    {"Tagesabschluss", "frm_main", "mnu_abschluss"},
    {"Tagesabschluss", "frm_main", "btn_tagesabschluss"},
    {"Abschluesse", "frm_main", "mnu_abschluesse"},
    {"Abschluesse", "frm_main", "btn_abschluessesehen"},
    {"Lichteinundaus", "frm_main", "mnu_tischlichtsteuerung"},
    {"Lichteinundaus", "frm_main", "mnu_sonstigeschalter"},
    {"Tischfarben", "frm_main", "mnu_tischfarben"},
    {"Laenderwahl", "frm_main", "mnu_laenderwahl"},
    {"Tischstatistik", "frm_main", "mnu_tischstatistik"},
    {"Archiv", "frm_main", "mnu_zip"},
    {"Archiv", "frm_main", "btn_zip"},
    {"Inventar", "frm_main", "mnu_inventar"},
    {"Inventar", "frm_main", "btn_stock"},
    {"Chipkarte", "frm_main", "mnu_kartenleser"},
};

// The reservation report opens from the main menu under the scheduler's right: whoever may book
// courts may print the bookings.
inline constexpr GovernedControl reservationReportCommand = {"Tischverwaltung", "frm_main", "mnu_druck"};

// Every control a right governs: the table's, then the added command.
inline constexpr auto governedControls = [] {
    std::array<GovernedControl, std::size(rightsTable) + 1> all{};
    std::copy(std::begin(rightsTable), std::end(rightsTable), all.begin());
    all.back() = reservationReportCommand;
    return all;
}();
