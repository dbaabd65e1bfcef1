#include "cards/members.h"

#include "data/query.h"
#include "data/recordset.h"
#include "data/store.h"

namespace Members {

int fGetMaxMitgliedNr()
{
    Query highest(QStringLiteral("Select\tMAX(Mitgliedsnummer)\nfrom\tMitglieder"));
    highest.open();
    return highest.eof() ? 1 : highest.field(0).asInteger() + 1;
}

void confirmDrawnNumber(RecordSet& members, std::optional<int> drawn)
{
    Store::lockNumbers(QStringLiteral("member"));
    const QString field = QStringLiteral("Mitgliedsnummer");
    if (!drawn || members.field(field).asInteger() != *drawn)
        return;
    Query taken(QStringLiteral("select count(*) from Mitglieder where Mitgliedsnummer = :pnummer"));
    taken.setParam(QStringLiteral("pnummer"), *drawn);
    taken.open();
    if (taken.field(0).asInteger() > 0)
        members.setField(field, fGetMaxMitgliedNr());
}

void deleteMonthlyDiscounts(int mitgliedsnummer)
{
    Query discounts(QStringLiteral("delete from Monatsrabatt\nwhere\nMitglied =:pmitglied"));
    discounts.setParam(QStringLiteral("pmitglied"), mitgliedsnummer);
    discounts.exec();
}

} // namespace Members
