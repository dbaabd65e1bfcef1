#pragma once

#include <QString>

#include <array>
#include <cstdint>

// Set of existing court numbers 0 to 15: bit n set when court n exists.
using CourtSet = std::uint16_t;

CourtSet fPlaetze();
inline bool containsCourt(CourtSet set, int court)
{
    return court >= 0 && court < 16 && (set >> court) & 1u;
}

// Start of a reservation in days since 30 December 1899; 0 when the number has no rows.
double fStartzeit(int reservierungsnummer);

// Rounds a money amount to 1/Nachkommafaktor, ties to the even neighbour. A factor other than 1,
// 10 or 100 is first repaired to 100 in the session.
double fRunden(double amount);

// Indexed by the day of the week with Sunday = 1 to Saturday = 7 (index 0 is unused).
inline const std::array<QString, 8> Wochentagskuerzel{QString(),
                                                      QStringLiteral("SO"),
                                                      QStringLiteral("MO"),
                                                      QStringLiteral("TU"),
                                                      QStringLiteral("WE"),
                                                      QStringLiteral("TH"),
                                                      QStringLiteral("FR"),
                                                      QStringLiteral("SA")};

// Sunday = 1 to Saturday = 7 for a date.
int dayOfWeek(int dayCount);
