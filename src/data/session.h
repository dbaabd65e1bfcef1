#pragma once

#include <QString>

#include <array>
#include <cstdint>

// Values of the running session, read directly by every part of the program.
namespace Session {

inline int Nachkommafaktor = 0; // 1, 10 or 100 once the parameters are loaded
inline int Wartezeit = 10;      // milliseconds before each relay command
inline QString Benutzertyp;     // Rechte.Type of the current user
inline bool Angemeldet = false;
inline bool KartenleserAktiv = false;
inline bool KarteFuerMitglieder = false;
inline bool KarteFuerAngestellte = false;
inline std::array<std::uint8_t, 5> Modulzustand{};

} // namespace Session
