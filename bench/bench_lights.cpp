// One output switch and one group switch on a pseudo-terminal, against the protocol's own minimum
// on the same line: the pause, then five bare writes each followed by 20 ms of sleep.
#include "../tests/relayline.h"
#include "benchsupport.h"
#include "data/session.h"
#include "lights/relaylink.h"
#include "lights/relays.h"
#include "platform/registry.h"

#include <QCoreApplication>

#include <fcntl.h>
#include <unistd.h>

#include <thread>

namespace {

// The least the protocol allows: no purge, no event loop, just the bytes and their sleeps.
void bareFrames(int fd, int frames, int pause)
{
    for (int f = 0; f < frames; ++f) {
        std::this_thread::sleep_for(std::chrono::milliseconds(pause + Relays::bytePause));
        for (const unsigned char byte : {0x1B, f + 1, 0x40, 0x00, 0x00}) {
            if (::write(fd, &byte, 1) != 1)
                std::fprintf(stderr, "bare write failed\n");
            tcdrain(fd);
            std::this_thread::sleep_for(std::chrono::milliseconds(Relays::bytePause));
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    qputenv("COURTORIA_REGISTRY", (dir.path() + "/registry.ini").toLocal8Bit());
    qputenv("COURTORIA_USER_SETTINGS", (dir.path() + "/windows.ini").toLocal8Bit());
    Installer::Options options;
    options.directory = dir.path() + "/hall";
    if (const QString failure = Installer::install(options); !failure.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(failure));
        return 1;
    }
    Query("update Schaltplan set Gruppen = 2 where Anschluss in (3, 12, 30)").exec();
    RelayLine line;
    if (!line.isValid())
        return 1;
    Registry::setValue("COM1", line.device());
    Relays::link().open(0);
    const int bare = ::open(line.device().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    Session::Wartezeit = 10;
    const int pause = Relays::framePause();
    std::printf("pause %d ms; minimum: one switch %d ms, one group switch %d ms\n", pause, pause + 120,
                5 * pause + 600);
    bool on = false;
    Bench::report("one switch (fLichtEin/fLichtAus)",
                  Bench::measure(
                      15,
                      [&] {
                          on = !on;
                          on ? fLichtEin(12) : fLichtAus(12);
                      },
                      [&] { bareFrames(bare, 1, pause); }),
                  "protocol minimum");
    Bench::report("one group switch (fGruppeEin/Aus)",
                  Bench::measure(
                      6,
                      [&] {
                          on = !on;
                          on ? fGruppeEin(2) : fGruppeAus(2);
                      },
                      [&] { bareFrames(bare, 5, pause); }),
                  "protocol minimum");
    ::close(bare);
    return 0;
}
