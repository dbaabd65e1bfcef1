#pragma once

// The rights of the log-in and the controls each one enables, written out as the desk's rights
// table gives them, row by row in the order they are applied. Tests compare the program against
// this list, not against the program's own map.
struct GovernedControl {
    const char* right;
    const char* window; // objectName of the window holding the control
    const char* control;
};

inline constexpr GovernedControl governedControls[] = {
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
    {"Tischverwaltung", "frm_main", "mnu_druck"},
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
