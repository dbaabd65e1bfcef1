// relaysim: five relay modules of eight outputs on a pseudo-terminal, for running the program
// without the hall's hardware. The first line of output is the device to name as the program's
// serial port; then every byte with the gap before it, every complete frame with the forty
// outputs, and a warning for a frame whose bytes came closer than 20 ms or that is malformed.
#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

volatile std::sig_atomic_t stopping = 0;

void stop(int)
{
    stopping = 1;
}

constexpr double leastGap = 20.0;    // ms the modules need after every byte
constexpr double staleFrame = 500.0; // ms after which a started frame counts as broken off

struct Modules {
    std::array<unsigned char, 5> bytes{};
    std::array<unsigned char, 5> frame{};
    std::array<double, 5> gaps{};
    int filled = 0;
    int frames = 0;
    int warnings = 0;

    void warn(const char* what)
    {
        ++warnings;
        std::printf("WARNING: %s\n", what);
    }

    void show() const
    {
        std::printf("outputs  ");
        for (int m = 0; m < 5; ++m) {
            for (int bit = 0; bit < 8; ++bit)
                std::putchar(bytes[std::size_t(m)] >> bit & 1 ? '*' : '.');
            std::putchar(m < 4 ? ' ' : '\n');
        }
        std::printf("on:");
        bool any = false;
        for (int n = 1; n <= 40; ++n)
            if (bytes[std::size_t((n - 1) / 8)] >> ((n - 1) % 8) & 1) {
                std::printf(" %d", n);
                any = true;
            }
        std::printf(any ? "\n" : " none\n");
    }

    void complete()
    {
        const int module = frame[1];
        if (frame[0] != 0x1B || module < 1 || module > 5 || frame[2] != 0x40 || frame[4] != 0x00) {
            warn("malformed frame (expected 1B, module 1-5, 40, value, 00); ignored");
            return;
        }
        double closest = 1e9;
        for (int i = 1; i < 5; ++i)
            closest = std::min(closest, gaps[std::size_t(i)]);
        ++frames;
        bytes[std::size_t(module - 1)] = frame[3];
        std::printf("frame %d: module %d := %02X\n", frames, module, frame[3]);
        if (closest < leastGap) {
            char text[96];
            std::snprintf(text, sizeof text, "bytes of frame %d came %.1f ms apart (at least 20 ms needed)",
                          frames, closest);
            warn(text);
        }
        show();
    }

    void take(unsigned char byte, double gap)
    {
        std::printf("  %02X  after %8.1f ms\n", byte, gap);
        if (filled > 0 && gap > staleFrame) {
            warn("frame broken off; starting over");
            filled = 0;
        }
        if (filled == 0 && byte != 0x1B) {
            warn("byte outside a frame (frames start with 1B); skipped");
            return;
        }
        frame[std::size_t(filled)] = byte;
        gaps[std::size_t(filled)] = gap;
        if (++filled == 5) {
            filled = 0;
            complete();
        }
        std::fflush(stdout);
    }
};

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        std::fprintf(stderr, "usage: %s\n(no options: prints the device path, then the line's traffic)\n",
                     argv[0]);
        return std::strcmp(argv[i], "--help") == 0 ? 0 : 2;
    }
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        std::perror("relaysim: pseudo-terminal");
        return 1;
    }
    const std::string device = ptsname(master);
    // Holding the device open keeps the line up while the program closes and re-opens it; raw,
    // so that no byte is changed before the program sets its own line settings.
    const int slave = open(device.c_str(), O_RDWR | O_NOCTTY);
    termios raw{};
    if (slave < 0 || tcgetattr(slave, &raw) != 0) {
        std::perror("relaysim: device");
        return 1;
    }
    cfmakeraw(&raw);
    tcsetattr(slave, TCSANOW, &raw);
    std::printf("%s\n", device.c_str());
    std::fflush(stdout);
    std::signal(SIGINT, stop);
    std::signal(SIGTERM, stop);

    Modules modules;
    Clock::time_point last{};
    bool first = true;
    pollfd poller{master, POLLIN, 0};
    while (!stopping) {
        if (poll(&poller, 1, 200) <= 0 || !(poller.revents & POLLIN))
            continue;
        unsigned char buffer[64];
        const ssize_t n = read(master, buffer, sizeof buffer);
        const Clock::time_point now = Clock::now();
        if (n <= 0)
            continue;
        for (ssize_t i = 0; i < n; ++i) {
            // Bytes that arrive in one read came together: no gap between them.
            const double gap = first ? 0.0 : std::chrono::duration<double, std::milli>(now - last).count();
            first = false;
            last = now;
            modules.take(buffer[i], gap);
        }
    }
    std::printf("%d frames, %d warnings\n", modules.frames, modules.warnings);
    close(slave);
    close(master);
    return 0;
}
