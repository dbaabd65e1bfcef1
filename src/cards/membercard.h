#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Who a member card names, checked against Mitglieder: the number must be a member's and both
// names must equal his stored ones (blanks at both ends aside, case counting). Without a window:
// the reservation dialog passes in what the terminal read and shows the failure text.
struct CardMember {
    qint64 Mitgliedsnummer = 0;
    QString Nachname;
    QString Vorname;
    double Rabatt = 0;
};

struct MemberCardCheck {
    std::optional<CardMember> member;
    QString failure; // the message to show when there is no member
};

// answer: what "Card,MemRead,20,70" returned. Store errors pass on.
MemberCardCheck identifyMember(const QByteArray& answer);
