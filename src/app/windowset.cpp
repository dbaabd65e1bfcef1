#include "app/windowset.h"

#include "app/liverefresh.h"
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
#include "ui/storeaction.h"
#include "users/u_aktivitaeten.h"
#include "users/u_anmeldung.h"
#include "users/u_anmeldungfirst.h"
#include "users/u_benutzerrechte.h"

#include <array>
#include <type_traits>

namespace WindowSet {
namespace {

// One object of the start-up: its class, how it is made into its slot of forms() and how the slot
// is read back.
struct Entry {
    const char* className;
    void (*create)(Forms& forms, QWidget* parent);
    QObject* (*get)(const Forms& forms);
};

template <typename> struct SlotType;
template <typename T> struct SlotType<T * Forms::*> {
    using type = T;
};

template <auto slot> constexpr Entry entry(const char* className)
{
    using T = typename SlotType<decltype(slot)>::type;
    return {className,
            [](Forms& f, QWidget* parent) {
                if constexpr (std::is_base_of_v<QWidget, T>)
                    f.*slot = new T(parent);
                else
                    f.*slot = new T(); // the data module is no window and belongs to nobody
            },
            [](const Forms& f) -> QObject* { return f.*slot; }};
}

// The order of creation; deletion runs it backwards.
constexpr Entry table[] = {
    entry<&Forms::scheduler>("Tfrm_scheduler"),
    entry<&Forms::courts>("Tfrm_courts"),
    entry<&Forms::tischerzeugen>("Tfrm_tischerzeugen"),
    entry<&Forms::mitglieder>("Tfrm_mitglieder"),
    entry<&Forms::datasets>("Tdm_datasets"),
    entry<&Forms::tischfarben>("Tfrm_tischfarben"),
    entry<&Forms::abrechnung>("Tfrm_abrechnung"),
    entry<&Forms::kenngroessen>("Tfrm_kenngroessen"),
    entry<&Forms::preissetzen>("Tfrm_preissetzen"),
    entry<&Forms::anmeldungfirst>("Tfrm_anmeldungfirst"),
    entry<&Forms::laender>("Tfrm_laender"),
    entry<&Forms::tagesabrechnung>("Tfrm_Tagesabrechnung"),
    entry<&Forms::abschluesse>("Tfrm_abschluesse"),
    entry<&Forms::alleabschluessereport>("Tfrm_alleabschluessereport"),
    entry<&Forms::inventar>("Tfrm_inventar"),
    entry<&Forms::kartenleser>("Tfrm_kartenleser"),
    entry<&Forms::anmeldung>("Tfrm_anmeldung"),
    entry<&Forms::benutzerrechte>("Tfrm_benutzerrechte"),
    entry<&Forms::gruppensteuerung>("Tfrm_gruppensteuerung"),
    entry<&Forms::lichtsteuerung>("Tfrm_lichtsteuerung"),
    entry<&Forms::schalttafel>("Tfrm_schalttafel"),
    entry<&Forms::archiv>("Tfrm_archiv"),
    entry<&Forms::about>("Tfrm_about"),
    entry<&Forms::beleg>("Tfrm_beleg"),
    entry<&Forms::belegmexiko>("Tfrm_belegmexiko"),
    entry<&Forms::reservieren>("Tfrm_reservieren"),
    entry<&Forms::namensliste>("Tfrm_namensliste"),
    entry<&Forms::reservierungsliste>("Tfrm_reservierungsliste"),
    entry<&Forms::statistik>("Tfrm_statistik"),
    entry<&Forms::druck>("Tfrm_druck"),
    entry<&Forms::aktivitaeten>("Tfrm_aktivitaeten"),
    entry<&Forms::abbruchfenster>("Tfrm_abbruchfenster"),
};

// Each entry has a slot of its own (one slot twice would create a window twice and delete it
// twice) ...
constexpr bool eachSlotOnce()
{
    for (std::size_t i = 0; i < std::size(table); ++i)
        for (std::size_t j = i + 1; j < std::size(table); ++j)
            if (table[i].get == table[j].get)
                return false;
    return true;
}
static_assert(eachSlotOnce(), "a slot of Forms is listed twice");
// ... and every slot of Forms besides the main window has an entry: a window added to Forms but
// not here would silently never exist.
static_assert(sizeof(Forms) == (std::size(table) + 1) * sizeof(void*), "a slot of Forms has no entry");

std::function<void(const QString&)>& creationProbe()
{
    static std::function<void(const QString&)> probe;
    return probe;
}

} // namespace

int objectCount()
{
    return int(std::size(table));
}

QStringList creationOrder()
{
    QStringList names;
    for (const Entry& e : table)
        names << QLatin1String(e.className);
    return names;
}

void setCreationProbe(std::function<void(const QString& className)> probe)
{
    creationProbe() = std::move(probe);
}

void createMain()
{
    forms().main = new Tfrm_main();
}

void createObjects(const std::function<void()>& step)
{
    Forms& f = forms();
    for (const Entry& e : table) {
        // One window that cannot be made must not keep the desk from the others.
        StoreAction::run([&] {
            if (creationProbe())
                creationProbe()(QLatin1String(e.className));
            e.create(f, f.main);
        });
        if (step)
            step();
    }
    // Goes with the main window, after the windows it refreshes.
    new LiveRefresh(f.main);
}

void destroyAll()
{
    Forms& f = forms();
    Tfrm_main* main = f.main;
    std::array<QObject*, std::size(table)> made{};
    for (std::size_t i = 0; i < made.size(); ++i)
        made[i] = table[i].get(f);
    // Windows that reach for each other while they go find empty slots, not deleted ones.
    f = Forms{};
    for (auto it = made.rbegin(); it != made.rend(); ++it)
        delete *it;
    // Last: it owns the windows, and one released earlier without being deleted yet goes with it.
    delete main;
}

} // namespace WindowSet
