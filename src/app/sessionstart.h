#pragma once

#include <QString>

#include <functional>

class RecordSet;

// The session values loaded when the main window is first shown. Store errors are thrown as
// StoreError and end the sequence at that step.
namespace SessionStart {

// Opens the table store before anything reads it. A server that does not answer is said with its
// own words and the choice "Retry" (tried again) or "Quit" (false). Any other store error is left
// to the steps that follow, which show it as they always have.
bool reachStore();
// Money decimals 0, 1 and 2 give the factors 1, 10 and 100; anything else keeps 100.
int factorForDecimals(int nachkommastellen);
// Nachkommafaktor from Kennzahlen.Nachkommastellen.
void loadNachkommafaktor();
// The registry's Waehrung, "US$" when it is empty or missing.
QString currencyText();
// KartenleserAktiv, KarteFuerMitglieder and KarteFuerAngestellte from the first Kartenleser row.
void loadCardFlags();
// Benutzertyp becomes "Administrator"; true when the administrator's row asks for a log-in.
bool administratorLoginRequired();
// Deletes the activity rows recorded before today 00:00 minus 30 days; returns how many went.
int trimActivityLog(int today);

// Re-establishes the relay modules' output state from the open parameter row (its
// Lichtschaltung, ComPort); installed by the light control. Without one nothing is sent.
using RelayRestart = std::function<void(RecordSet& parameters)>;
void setRelayRestart(RelayRestart restart);
// Opens the parameter row, takes Wartezeit from it, hands it to the relay restart and closes it.
void restoreParametersAndRelays();

} // namespace SessionStart
