#include "app/sessionstart.h"

#include "data/query.h"
#include "data/recordset.h"
#include "data/session.h"
#include "data/store.h"
#include "platform/messages.h"
#include "platform/registry.h"

namespace SessionStart {
namespace {

RelayRestart& relayRestart()
{
    static RelayRestart restart;
    return restart;
}

} // namespace

bool reachStore()
{
    for (;;) {
        try {
            Store::database();
            return true;
        } catch (const StoreError& e) {
            if (e.failure() != StoreError::Failure::Connection)
                return true;
            if (!Messages::retry(e.message() +
                                 QStringLiteral("\n\nRetry connects again; Quit ends Courtoria.")))
                return false;
        }
    }
}

int factorForDecimals(int nachkommastellen)
{
    switch (nachkommastellen) {
    case 0: return 1;
    case 1: return 10;
    case 2: return 100;
    default: return 100;
    }
}

void loadNachkommafaktor()
{
    Session::Nachkommafaktor = 100;
    Query query(QStringLiteral("select Nachkommastellen from Kennzahlen"));
    query.open();
    Session::Nachkommafaktor = factorForDecimals(query.field(QStringLiteral("Nachkommastellen")).asInteger());
    query.close();
}

QString currencyText()
{
    const QString text = Registry::text(QStringLiteral("Waehrung"));
    return text.isEmpty() ? QStringLiteral("US$") : text;
}

void loadCardFlags()
{
    Session::KartenleserAktiv = false;
    Session::KarteFuerMitglieder = false;
    Session::KarteFuerAngestellte = false;
    Query table(QStringLiteral("select * from Kartenleser"));
    table.open();
    Session::KartenleserAktiv = table.field(QStringLiteral("Aktiv")).asBoolean();
    Session::KarteFuerMitglieder = table.field(QStringLiteral("FuerMitglieder")).asBoolean();
    Session::KarteFuerAngestellte = table.field(QStringLiteral("FuerAngestellte")).asBoolean();
    table.close();
}

bool administratorLoginRequired()
{
    Session::Benutzertyp = QStringLiteral("Administrator");
    Query query(QStringLiteral("select Login from Rechte where Type = 'Administrator'"));
    query.open();
    const bool login = query.field(QStringLiteral("Login")).asBoolean();
    query.close();
    return login;
}

int trimActivityLog(int today)
{
    Query query(QStringLiteral("delete from Aktivitaet where Aufzeichnung <:pdatum"));
    query.setParam(QStringLiteral("pdatum"), double(today - 30));
    return query.exec();
}

void setRelayRestart(RelayRestart restart)
{
    relayRestart() = std::move(restart);
}

void restoreParametersAndRelays()
{
    RecordSet qry_lichtschaltung;
    qry_lichtschaltung.openQuery(QStringLiteral("select * from Kennzahlen"));
    qry_lichtschaltung.first();
    Session::Wartezeit = qry_lichtschaltung.field(QStringLiteral("Wartezeit")).asInteger();
    if (relayRestart())
        relayRestart()(qry_lichtschaltung);
    qry_lichtschaltung.close();
}

} // namespace SessionStart
