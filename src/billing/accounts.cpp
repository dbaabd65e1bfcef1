#include "billing/accounts.h"

#include "data/query.h"

namespace Accounts {

double sum(int abrechnungsfolge)
{
    Query total(QStringLiteral("select sum(Betrag) Summe,sum(DrinksundSnacks) SummeDrinksundSnacks "
                               "from Tischabrechnung where Abrechnungsfolge=:pfolge"));
    total.setParam(QStringLiteral("pfolge"), abrechnungsfolge);
    total.open();
    const double summe = total.field(QStringLiteral("Summe")).asFloat();
    total.close();
    return summe;
}

int deleteOlderThan(int day)
{
    Query remove(
        QStringLiteral("delete from Tischabrechnung where Abgerechnet = true and Abrechnungsdatum <:pdatum"));
    remove.setParam(QStringLiteral("pdatum"), day);
    return remove.exec();
}

} // namespace Accounts
