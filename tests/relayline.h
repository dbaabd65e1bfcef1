#pragma once

#include <QString>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <termios.h>
#include <unistd.h>

// The far end of a relay line for tests and benchmarks: a pseudo-terminal whose slave device the
// program opens as its serial port, read from the master side by a thread that stamps every byte
// with the moment it arrived. The slave stays open here too, so that the master reads on while the
// program closes and re-opens its side.
class RelayLine {
public:
    using Clock = std::chrono::steady_clock;
    struct Byte {
        unsigned char value;
        Clock::time_point at;
    };

    RelayLine()
    {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
            return;
        device_ = QString::fromLocal8Bit(ptsname(master_));
        slave_ = ::open(ptsname(master_), O_RDWR | O_NOCTTY);
        termios raw{};
        if (slave_ >= 0 && tcgetattr(slave_, &raw) == 0) {
            cfmakeraw(&raw);
            tcsetattr(slave_, TCSANOW, &raw);
        }
        reader_ = std::thread([this] { read(); });
    }
    ~RelayLine()
    {
        stop_ = true;
        if (reader_.joinable())
            reader_.join();
        if (slave_ >= 0)
            ::close(slave_);
        if (master_ >= 0)
            ::close(master_);
    }
    RelayLine(const RelayLine&) = delete;
    RelayLine& operator=(const RelayLine&) = delete;

    bool isValid() const { return slave_ >= 0; }
    const QString& device() const { return device_; }

    std::vector<Byte> bytes() const
    {
        std::lock_guard lock(mutex_);
        return bytes_;
    }
    std::vector<unsigned char> values() const
    {
        std::vector<unsigned char> out;
        for (const Byte& b : bytes())
            out.push_back(b.value);
        return out;
    }
    // Whether every byte came at least least(i) ms after the one before, as the sender waits; an
    // empty text when it did, else what fell short. A pseudo-terminal hands the bytes on through a
    // kernel worker that a busy machine can hold up by a few ms: a byte delivered late shortens the
    // gap after it by its delay and lengthens the one before. So one gap may fall short by up to
    // `jitter`, but the run as a whole, from first to last byte, may not fall short at all.
    static QString timingFault(const std::vector<Byte>& bytes,
                               const std::function<double(std::size_t)>& least, double jitter = 8)
    {
        const auto ms = [](Clock::duration d) {
            return std::chrono::duration<double, std::milli>(d).count();
        };
        double wanted = 0;
        for (std::size_t i = 1; i < bytes.size(); ++i) {
            const double gap = ms(bytes[i].at - bytes[i - 1].at);
            wanted += least(i);
            if (gap < least(i) - jitter)
                return QStringLiteral("byte %1 came %2 ms after the one before").arg(i).arg(gap);
        }
        const double span = bytes.empty() ? 0 : ms(bytes.back().at - bytes.front().at);
        if (span < wanted - 2)
            return QStringLiteral("the bytes took %1 ms, not the %2 ms their gaps add up to")
                .arg(span)
                .arg(wanted);
        return {};
    }

    // The line settings the program gave the port, as the far end finds them.
    termios settings() const
    {
        termios now{};
        tcgetattr(slave_, &now);
        return now;
    }
    // Sets the line to what the program must change: 300 baud, 7 data bits, odd parity, one stop
    // bit, hardware and software flow control.
    void misconfigure() const
    {
        termios wrong = settings();
        cfsetispeed(&wrong, B300);
        cfsetospeed(&wrong, B300);
        wrong.c_cflag = (wrong.c_cflag & ~(CSIZE | CSTOPB)) | CS7 | PARENB | PARODD | CRTSCTS;
        wrong.c_iflag |= IXON | IXOFF;
        tcsetattr(slave_, TCSANOW, &wrong);
    }

    // Waits until `count` bytes arrived or `timeout` passed; true when they did.
    bool waitFor(std::size_t count, std::chrono::milliseconds timeout = std::chrono::milliseconds(3000)) const
    {
        const auto end = Clock::now() + timeout;
        while (Clock::now() < end) {
            if (bytes().size() >= count)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return bytes().size() >= count;
    }
    void clear()
    {
        std::lock_guard lock(mutex_);
        bytes_.clear();
    }

private:
    void read()
    {
        // The stamps measure the sender, not this thread's wake-ups: where the system allows it
        // (as root), the reader runs ahead of ordinary threads, so a busy machine does not make a
        // 20 ms gap look shorter by waking late for one byte.
        sched_param realtime{};
        realtime.sched_priority = sched_get_priority_min(SCHED_FIFO);
        pthread_setschedparam(pthread_self(), SCHED_FIFO, &realtime);
        pollfd poller{master_, POLLIN, 0};
        unsigned char buffer[64];
        while (!stop_) {
            if (::poll(&poller, 1, 5) <= 0 || !(poller.revents & POLLIN))
                continue;
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            const auto at = Clock::now();
            if (n <= 0)
                continue;
            std::lock_guard lock(mutex_);
            for (ssize_t i = 0; i < n; ++i)
                bytes_.push_back({buffer[i], at});
        }
    }

    int master_ = -1;
    int slave_ = -1;
    QString device_;
    std::thread reader_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<Byte> bytes_;
};
