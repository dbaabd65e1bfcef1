#pragma once

#include <QString>
#include <array>

// The sixteen rights of a Rechte row, in the order their commands are enabled after a log-in.
inline const std::array<QString, 16> rightFields{
    QStringLiteral("Benutzerrechte"), QStringLiteral("Mitglieder"),      QStringLiteral("Kenngroessen"),
    QStringLiteral("Preise"),         QStringLiteral("Tischverwaltung"), QStringLiteral("ListofNames"),
    QStringLiteral("Aktivitaeten"),   QStringLiteral("Tagesabschluss"),  QStringLiteral("Abschluesse"),
    QStringLiteral("Lichteinundaus"), QStringLiteral("Tischfarben"),     QStringLiteral("Laenderwahl"),
    QStringLiteral("Tischstatistik"), QStringLiteral("Archiv"),          QStringLiteral("Inventar"),
    QStringLiteral("Chipkarte")};
