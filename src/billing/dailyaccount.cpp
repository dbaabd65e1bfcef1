#include "billing/dailyaccount.h"

#include "billing/accounts.h"
#include "data/query.h"
#include "data/store.h"

namespace DailyAccount {

double openSum()
{
    Query total(QStringLiteral("select sum(Betrag) Gesamtbetrag,sum(DrinksundSnacks) GesamtdrinksundSnacks "
                               "from Tischabrechnung where Abgerechnet=false"));
    total.open();
    const double sum = total.field(QStringLiteral("Gesamtbetrag")).asFloat();
    total.close();
    return sum;
}

Closed close(double now)
{
    Store::Transaction transaction;
    Store::lockNumbers(QStringLiteral("account"));
    Closed closed;
    Query maximum(QStringLiteral("select max(Abrechnungsfolge) Maximum from Tischabrechnung"));
    maximum.open();
    closed.abrechnungsfolge = maximum.field(QStringLiteral("Maximum")).asInteger() + 1;
    maximum.close();
    closed.moment = now;
    Query settle(QStringLiteral("update Tischabrechnung set Abgerechnet=true, Abrechnungsfolge=:pfolge, "
                                "Abrechnungsdatum=:pdatum where Abgerechnet = false"));
    settle.setParam(QStringLiteral("pfolge"), closed.abrechnungsfolge);
    settle.setParam(QStringLiteral("pdatum"), now);
    settle.exec();
    // Summed from the lines this closing numbered: on a server a bill stored by another desk
    // between a sum of the open lines and the update would be closed without being counted.
    closed.sum = Accounts::sum(closed.abrechnungsfolge);
    transaction.commit();
    return closed;
}

} // namespace DailyAccount
