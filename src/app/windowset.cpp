#include "app/windowset.h"

#include "app/u_about.h"
#include "app/u_main.h"
#include "backup/u_archiv.h"
#include "billing/u_abrechnung.h"
#include "billing/u_abschluesse.h"
#include "billing/u_alleabschluessereport.h"
#include "billing/u_beleg.h"
#include "billing/u_belegmexiko.h"
#include "billing/u_laender.h"
#include "billing/u_tagesabrechnung.h"
#include "cards/u_kartenleser.h"
#include "cards/u_mitglieder.h"
#include "courts/u_courts.h"
#include "courts/u_kenngroessen.h"
#include "courts/u_preissetzen.h"
#include "courts/u_tischerzeugen.h"
#include "courts/u_tischfarben.h"
#include "data/u_datasets.h"
#include "lights/u_abbruchfenster.h"
#include "lights/u_gruppensteuerung.h"
#include "lights/u_lichtsteuerung.h"
#include "lights/u_schalttafel.h"
#include "reservations/u_druck.h"
#include "reservations/u_namensliste.h"
#include "reservations/u_reservieren.h"
#include "reservations/u_reservierungsliste.h"
#include "reservations/u_scheduler.h"
#include "reservations/u_statistik.h"
#include "stock/u_inventar.h"
#include "ui/forms.h"
#include "users/u_aktivitaeten.h"
#include "users/u_anmeldung.h"
#include "users/u_anmeldungfirst.h"
#include "users/u_benutzerrechte.h"

namespace WindowSet {
namespace {

template <typename T> void create(T*& slot, const std::function<void()>& step)
{
    slot = new T();
    if (step)
        step();
}

} // namespace

void createMain()
{
    forms().main = new Tfrm_main();
}

void createObjects(const std::function<void()>& step)
{
    Forms& f = forms();
    int made = 0;
    const auto counted = [&] {
        ++made;
        if (step)
            step();
    };
    create(f.scheduler, counted);
    create(f.courts, counted);
    create(f.tischerzeugen, counted);
    create(f.mitglieder, counted);
    create(f.datasets, counted);
    create(f.tischfarben, counted);
    create(f.abrechnung, counted);
    create(f.kenngroessen, counted);
    create(f.preissetzen, counted);
    create(f.anmeldungfirst, counted);
    create(f.laender, counted);
    create(f.tagesabrechnung, counted);
    create(f.abschluesse, counted);
    create(f.alleabschluessereport, counted);
    create(f.inventar, counted);
    create(f.kartenleser, counted);
    create(f.anmeldung, counted);
    create(f.benutzerrechte, counted);
    create(f.gruppensteuerung, counted);
    create(f.lichtsteuerung, counted);
    create(f.schalttafel, counted);
    create(f.archiv, counted);
    create(f.about, counted);
    create(f.beleg, counted);
    create(f.belegmexiko, counted);
    create(f.reservieren, counted);
    create(f.namensliste, counted);
    create(f.reservierungsliste, counted);
    create(f.statistik, counted);
    create(f.druck, counted);
    create(f.aktivitaeten, counted);
    create(f.abbruchfenster, counted);
    Q_ASSERT(made == objectCount);
}

void destroyAll()
{
    Forms& f = forms();
    Tfrm_main* main = f.main;
    QObject* const objects[] = {f.abbruchfenster,
                                f.aktivitaeten,
                                f.druck,
                                f.statistik,
                                f.reservierungsliste,
                                f.namensliste,
                                f.reservieren,
                                f.belegmexiko,
                                f.beleg,
                                f.about,
                                f.archiv,
                                f.schalttafel,
                                f.lichtsteuerung,
                                f.gruppensteuerung,
                                f.benutzerrechte,
                                f.anmeldung,
                                f.kartenleser,
                                f.inventar,
                                f.alleabschluessereport,
                                f.abschluesse,
                                f.tagesabrechnung,
                                f.laender,
                                f.anmeldungfirst,
                                f.preissetzen,
                                f.kenngroessen,
                                f.abrechnung,
                                f.tischfarben,
                                f.datasets,
                                f.mitglieder,
                                f.tischerzeugen,
                                f.courts,
                                f.scheduler};
    f = Forms{};
    for (QObject* o : objects)
        delete o;
    delete main;
}

} // namespace WindowSet
