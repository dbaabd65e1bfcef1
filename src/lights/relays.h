#pragma once

#include <QtGlobal>

#include <array>
#include <functional>

class RecordSet;
class RelayLink;

// Switching of the relay outputs 1 to 40: five modules of eight outputs on one serial line, driven
// write-only with the frame 1B, module, 40, value, 00. The program's record of what the outputs do
// is Session::Modulzustand, kept in the registry (modul_1 to modul_5) on every change, also when
// the frame did not reach the line. Port failures while switching are swallowed; nothing here
// shows a window. Every byte is followed by 20 ms and every frame of a switch is preceded by the
// Wartezeit pause; while it waits the program keeps repainting and serving timers, but takes no
// user input, so that no second switch starts in the middle of a frame.

// Output n on (off): pause, then the new byte of n's module goes out and is stored. Outputs
// outside 1 to 40 only pause.
void fLichtEin(int anschluss);
void fLichtAus(int anschluss);
// One frame: purge, then command... each byte as its own write followed by 20 ms. Any failure
// skips the rest of the frame, silently.
void fSendModul(quint8 command, quint8 module, quint8 value);
// Modulzustand of module 1 to 5 := value, then the registry value modul_<module>.
void fSaveModul(int module, quint8 value);
// Modulzustand from the registry; a value that is missing or no number gives 0 for its module.
void fLoadModule();

// Every output of switch group 1 to 4 (Schaltplan.Gruppen) on or off. The four operations always
// send all five modules in order, untouched modules with their unchanged byte. The group is read
// from the stored table; a store error there is thrown before anything is sent.
void fGruppeEin(int gruppe);
void fGruppeAus(int gruppe);
void fAlleEin();
void fAlleAus();

namespace Relays {

inline constexpr quint8 switchCommand = 0x40;
inline constexpr int bytePause = 20; // ms after every byte

// The process-wide link; closed until start-up opens it.
RelayLink& link();

// The pause before a frame: Wartezeit when it lies in 5 to 1000, else 10 ms.
int framePause();
// Waits at least `milliseconds`, repainting and serving timers meanwhile.
void pause(int milliseconds);

// The module (1 to 5) and bit mask of an output 1 to 40.
struct OutputBit {
    int module;
    quint8 mask;
};
OutputBit outputBit(int anschluss);

// The bits of each module that belong to switch group `gruppe`; outputs outside 1 to 40 are left out.
std::array<quint8, 5> groupMasks(int gruppe);

// Sends modules 1 to 5 with their stored bytes, without the Wartezeit pause.
void resendModules();

// Start-up with the open parameter row: when Lichtschaltung is set, loads the stored bytes once,
// then opens the link on ComPort and re-sends them. While opening fails, `abortAfterFailure` is
// asked; true goes on without a link, false tries again with ComPort read anew.
void restart(RecordSet& parameters, const std::function<bool()>& abortAfterFailure);

} // namespace Relays
