#include "billing/dailyaccount.h"

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
    Closed closed;
    Query maximum(QStringLiteral("select max(Abrechnungsfolge) Maximum from Tischabrechnung"));
    maximum.open();
    closed.abrechnungsfolge = maximum.field(QStringLiteral("Maximum")).asInteger() + 1;
    maximum.close();
    closed.sum = openSum();
    closed.moment = now;
    Query settle(QStringLiteral("update Tischabrechnung set Abgerechnet=true, Abrechnungsfolge=:pfolge, "
                                "Abrechnungsdatum=:pdatum where Abgerechnet = false"));
    settle.setParam(QStringLiteral("pfolge"), closed.abrechnungsfolge);
    settle.setParam(QStringLiteral("pdatum"), now);
    settle.exec();
    transaction.commit();
    return closed;
}

} // namespace DailyAccount
