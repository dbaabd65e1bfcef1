#include "users/rightsmap.h"

#include "data/rights.h"

namespace RightsMap {
namespace {

QVector<Control> build()
{
    const QString main = QStringLiteral("frm_main");
    const QString courts = QStringLiteral("frm_courts");
    struct Entry {
        const char* right;
        std::initializer_list<std::pair<bool, const char*>> controls; // true: court plan
    };
    const Entry entries[] = {
        {"Benutzerrechte", {{false, "mnu_rechte"}}},
        {"Mitglieder", {{false, "mnu_mitglieder"}, {false, "btn_mitgliederdaten"}}},
        {"Kenngroessen",
         {{false, "mnu_kenngroessen"}, {true, "mnu_parameters"}, {false, "btn_kenngroessen"}}},
        {"Preise", {{false, "mnu_prices"}, {true, "mnu_prices"}}},
        {"Tischverwaltung",
         {{false, "mnu_courts"},
          {false, "btn_tische"},
          {false, "mnu_scheduler"},
          {false, "btn_scheduler"},
          {false, "mnu_schalttafel"},
          {false, "mnu_druck"}}},
        {"ListofNames", {{false, "mnu_namensliste"}}},
        {"Aktivitaeten", {{false, "mnu_activities"}}},
        {"Tagesabschluss", {{false, "mnu_abschluss"}, {false, "btn_tagesabschluss"}}},
        {"Abschluesse", {{false, "mnu_abschluesse"}, {false, "btn_abschluessesehen"}}},
        {"Lichteinundaus", {{false, "mnu_tischlichtsteuerung"}, {false, "mnu_sonstigeschalter"}}},
        {"Tischfarben", {{false, "mnu_tischfarben"}}},
        {"Laenderwahl", {{false, "mnu_laenderwahl"}}},
        {"Tischstatistik", {{false, "mnu_tischstatistik"}}},
        {"Archiv", {{false, "mnu_zip"}, {false, "btn_zip"}}},
        {"Inventar", {{false, "mnu_inventar"}, {false, "btn_stock"}}},
        {"Chipkarte", {{false, "mnu_kartenleser"}}},
    };
    static_assert(std::size(entries) == std::tuple_size_v<decltype(rightFields)>);
    QVector<Control> list;
    for (const Entry& e : entries)
        for (const auto& [onCourts, control] : e.controls)
            list.push_back({QLatin1String(e.right), onCourts ? courts : main, QLatin1String(control)});
    return list;
}

} // namespace

const QVector<Control>& controls()
{
    static const QVector<Control> list = build();
    return list;
}

QVector<ControlState> statesFor(const QHash<QString, bool>& rights)
{
    QVector<ControlState> states;
    for (const Control& c : controls())
        states.push_back({c.window, c.control, rights.value(c.right, false)});
    return states;
}

QVector<ControlState> allEnabled()
{
    QVector<ControlState> states;
    for (const Control& c : controls())
        states.push_back({c.window, c.control, true});
    return states;
}

} // namespace RightsMap
