#include "cards/members.h"

#include "data/query.h"

namespace Members {

int fGetMaxMitgliedNr()
{
    Query highest(QStringLiteral("Select\tMAX(Mitgliedsnummer)\nfrom\tMitglieder"));
    highest.open();
    return highest.eof() ? 1 : highest.field(0).asInteger() + 1;
}

void deleteMonthlyDiscounts(int mitgliedsnummer)
{
    Query discounts(QStringLiteral("delete from Monatsrabatt\nwhere\nMitglied =:pmitglied"));
    discounts.setParam(QStringLiteral("pmitglied"), mitgliedsnummer);
    discounts.exec();
}

} // namespace Members
