#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// What member and employee cards hold, and how the readers take it back: pure functions, record
// in, bytes out. Text is single-byte Latin-1 without length bytes or terminators; each field is
// right-aligned in its width and keeps only its last characters when longer.
namespace CardLayout {

constexpr int memorySize = 255;
// Card memory is cleared with this many 0xFF bytes before a record is written.
QByteArray clearing();

struct Member {
    qint64 Mitgliedsnummer = 0;
    QString Nachname;
    QString Vorname;
};

struct Employee {
    QString Benutzer;
    QString Passwort;
};

// 90 bytes: the marker, the number in ten digits, surname and first name in 30 characters each.
QByteArray Mitgliedskarte(const Member& member);
// 80 bytes: the marker, user name and password in 30 characters each.
QByteArray Angestelltenkarte(const Employee& employee);

// The last `width` characters of `value` after `width` pad characters.
QString rightAligned(const QString& value, int width, QChar pad = u' ');

// The member part read from address 20: 70 characters, the number whole, names trimmed.
constexpr int memberReadAddress = 20;
constexpr int memberReadLength = 70;
struct MemberOnCard {
    QString number; // trimmed, not yet checked to be a whole number
    QString Nachname;
    QString Vorname;
};
// Empty when the answer is shorter than 70 characters; a longer one is cut.
std::optional<MemberOnCard> readMember(const QByteArray& answer);

// The employee part read from address 20: 60 characters.
constexpr int employeeReadAddress = 20;
constexpr int employeeReadLength = 60;
std::optional<Employee> readEmployee(const QByteArray& answer);

} // namespace CardLayout
