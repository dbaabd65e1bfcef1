#include "cards/cardlayouts.h"

namespace CardLayout {

namespace {
const QByteArray memberMarker = "membercardxxxxxxxxxx";
const QByteArray employeeMarker = "employecardxxxxxxxxx";
constexpr int numberWidth = 10;
constexpr int nameWidth = 30;
} // namespace

QByteArray clearing()
{
    return QByteArray(memorySize, char(0xFF));
}

QString rightAligned(const QString& value, int width, QChar pad)
{
    return (QString(width, pad) + value).right(width);
}

QByteArray Mitgliedskarte(const Member& member)
{
    return memberMarker +
           rightAligned(QString::number(member.Mitgliedsnummer), numberWidth, u'0').toLatin1() +
           rightAligned(member.Nachname, nameWidth).toLatin1() +
           rightAligned(member.Vorname, nameWidth).toLatin1();
}

QByteArray Angestelltenkarte(const Employee& employee)
{
    return employeeMarker + rightAligned(employee.Benutzer, nameWidth).toLatin1() +
           rightAligned(employee.Passwort, nameWidth).toLatin1();
}

std::optional<MemberOnCard> readMember(const QByteArray& answer)
{
    if (answer.size() < memberReadLength)
        return std::nullopt;
    const QString text = QString::fromLatin1(answer.left(memberReadLength));
    return MemberOnCard{text.mid(0, numberWidth).trimmed(), text.mid(numberWidth, nameWidth).trimmed(),
                        text.mid(numberWidth + nameWidth, nameWidth).trimmed()};
}

std::optional<Employee> readEmployee(const QByteArray& answer)
{
    if (answer.size() < employeeReadLength)
        return std::nullopt;
    const QString text = QString::fromLatin1(answer.left(employeeReadLength));
    return Employee{text.mid(0, nameWidth).trimmed(), text.mid(nameWidth, nameWidth).trimmed()};
}

} // namespace CardLayout
