#pragma once

#include <QString>

class QWidget;
class Tdm_datasets;
class Tfrm_main;
class Tfrm_scheduler;
class Tfrm_courts;
class Tfrm_tischerzeugen;
class Tfrm_mitglieder;
class Tfrm_tischfarben;
class Tfrm_abrechnung;
class Tfrm_kenngroessen;
class Tfrm_preissetzen;
class Tfrm_anmeldungfirst;
class Tfrm_laender;
class Tfrm_Tagesabrechnung;
class Tfrm_abschluesse;
class Tfrm_alleabschluessereport;
class Tfrm_inventar;
class Tfrm_kartenleser;
class Tfrm_anmeldung;
class Tfrm_benutzerrechte;
class Tfrm_gruppensteuerung;
class Tfrm_lichtsteuerung;
class Tfrm_schalttafel;
class Tfrm_archiv;
class Tfrm_about;
class Tfrm_beleg;
class Tfrm_belegmexiko;
class Tfrm_reservieren;
class Tfrm_namensliste;
class Tfrm_reservierungsliste;
class Tfrm_statistik;
class Tfrm_druck;
class Tfrm_aktivitaeten;
class Tfrm_abbruchfenster;

// The windows and the data module created once at start-up. Windows reach each other through
// this one object; a pointer is null before its window exists and after it was released.
struct Forms {
    Tfrm_main* main = nullptr;
    Tfrm_scheduler* scheduler = nullptr;
    Tfrm_courts* courts = nullptr;
    Tfrm_tischerzeugen* tischerzeugen = nullptr;
    Tfrm_mitglieder* mitglieder = nullptr;
    Tdm_datasets* datasets = nullptr;
    Tfrm_tischfarben* tischfarben = nullptr;
    Tfrm_abrechnung* abrechnung = nullptr;
    Tfrm_kenngroessen* kenngroessen = nullptr;
    Tfrm_preissetzen* preissetzen = nullptr;
    Tfrm_anmeldungfirst* anmeldungfirst = nullptr;
    Tfrm_laender* laender = nullptr;
    Tfrm_Tagesabrechnung* tagesabrechnung = nullptr;
    Tfrm_abschluesse* abschluesse = nullptr;
    Tfrm_alleabschluessereport* alleabschluessereport = nullptr;
    Tfrm_inventar* inventar = nullptr;
    Tfrm_kartenleser* kartenleser = nullptr;
    Tfrm_anmeldung* anmeldung = nullptr;
    Tfrm_benutzerrechte* benutzerrechte = nullptr;
    Tfrm_gruppensteuerung* gruppensteuerung = nullptr;
    Tfrm_lichtsteuerung* lichtsteuerung = nullptr;
    Tfrm_schalttafel* schalttafel = nullptr;
    Tfrm_archiv* archiv = nullptr;
    Tfrm_about* about = nullptr;
    Tfrm_beleg* beleg = nullptr;
    Tfrm_belegmexiko* belegmexiko = nullptr;
    Tfrm_reservieren* reservieren = nullptr;
    Tfrm_namensliste* namensliste = nullptr;
    Tfrm_reservierungsliste* reservierungsliste = nullptr;
    Tfrm_statistik* statistik = nullptr;
    Tfrm_druck* druck = nullptr;
    Tfrm_aktivitaeten* aktivitaeten = nullptr;
    Tfrm_abbruchfenster* abbruchfenster = nullptr;

    // A created top-level window by its objectName ("frm_main", "frm_courts"); null when none.
    static QWidget* window(const QString& name);
};

Forms& forms();
