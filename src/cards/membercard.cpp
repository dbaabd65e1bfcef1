#include "cards/membercard.h"

#include "cards/cardlayouts.h"
#include "data/query.h"

MemberCardCheck identifyMember(const QByteArray& answer)
{
    const std::optional<CardLayout::MemberOnCard> card = CardLayout::readMember(answer);
    if (!card)
        return {std::nullopt, QStringLiteral("no correct carddatas!")};
    bool whole = false;
    const qint64 number = card->number.toLongLong(&whole);
    if (!whole)
        return {std::nullopt, QStringLiteral("no correct membernumber on card!")};
    Query lookup(QStringLiteral("select Mitgliedsnummer, Nachname, Vorname, Rabatt from Mitglieder "
                                "where Mitgliedsnummer = :nummer"));
    lookup.setParam(QStringLiteral("nummer"), number);
    lookup.open();
    if (lookup.eof())
        return {std::nullopt, QStringLiteral("member not found!")};
    CardMember member{lookup.field(0).asInteger(), lookup.field(1).asString(), lookup.field(2).asString(),
                      lookup.field(3).asFloat()};
    if (member.Nachname.trimmed() != card->Nachname || member.Vorname.trimmed() != card->Vorname)
        return {std::nullopt, QStringLiteral("membername is not ident to cardmembername!")};
    return {member, {}};
}
