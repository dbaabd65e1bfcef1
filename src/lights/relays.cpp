#include "lights/relays.h"

#include "data/query.h"
#include "data/recordset.h"
#include "data/session.h"
#include "data/store.h"
#include "lights/relaylink.h"
#include "platform/registry.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <chrono>
#include <thread>

namespace {

QString moduleValueName(int module)
{
    return QStringLiteral("modul_%1").arg(module);
}

quint8& stored(int module)
{
    return Session::Modulzustand[std::size_t(module - 1)];
}

void switchOutput(int anschluss, bool on)
{
    Relays::pause(Relays::framePause());
    if (anschluss <= 0 || anschluss > 40)
        return;
    const auto [module, mask] = Relays::outputBit(anschluss);
    const quint8 value = on ? quint8(stored(module) | mask) : quint8(stored(module) & ~mask);
    fSendModul(Relays::switchCommand, quint8(module), value);
    fSaveModul(module, value);
}

// Five frames, each after the pause, each module's new byte from its old one.
void switchModules(const std::function<quint8(int module, quint8 old)>& newValue)
{
    for (int module = 1; module <= 5; ++module) {
        Relays::pause(Relays::framePause());
        const quint8 value = newValue(module, stored(module));
        fSendModul(Relays::switchCommand, quint8(module), value);
        fSaveModul(module, value);
    }
}

} // namespace

void fLichtEin(int anschluss)
{
    switchOutput(anschluss, true);
}

void fLichtAus(int anschluss)
{
    switchOutput(anschluss, false);
}

void fSendModul(quint8 command, quint8 module, quint8 value)
{
    RelayLink& link = Relays::link();
    try {
        link.purgeOutput();
        link.purgeInput();
        Relays::pause(Relays::bytePause);
        // Each byte is its own write with its own pause: the modules need the time between bytes.
        for (const char byte : {char(0x1B), char(module), char(command), char(value), char(0x00)}) {
            link.write(QByteArray(1, byte));
            Relays::pause(Relays::bytePause);
        }
    } catch (const RelayError&) {
        // The state is stored anyway and re-sent at the next start; the desk is not interrupted.
    }
}

void fSaveModul(int module, quint8 value)
{
    if (module < 1 || module > 5)
        return;
    stored(module) = value;
    // A registry that cannot be written leaves the memory copy, which is already right.
    Registry::setValue(moduleValueName(module), int(value));
}

void fLoadModule()
{
    for (int module = 1; module <= 5; ++module) {
        bool ok = false;
        const int value = Registry::value(moduleValueName(module)).toInt(&ok);
        stored(module) = ok ? quint8(value & 0xFF) : 0;
    }
}

void fGruppeEin(int gruppe)
{
    const auto masks = Relays::groupMasks(gruppe);
    switchModules([&](int module, quint8 old) { return quint8(old | masks[std::size_t(module - 1)]); });
}

void fGruppeAus(int gruppe)
{
    const auto masks = Relays::groupMasks(gruppe);
    switchModules([&](int module, quint8 old) { return quint8(old & ~masks[std::size_t(module - 1)]); });
}

void fAlleEin()
{
    switchModules([](int, quint8) { return quint8(0xFF); });
}

void fAlleAus()
{
    switchModules([](int, quint8) { return quint8(0x00); });
}

namespace Relays {

RelayLink& link()
{
    static RelayLink relayLink;
    return relayLink;
}

int framePause()
{
    const int wartezeit = Session::Wartezeit;
    return wartezeit >= 5 && wartezeit <= 1000 ? wartezeit : 10;
}

void pause(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    QCoreApplication* app = QCoreApplication::instance();
    if (app && QThread::currentThread() == app->thread()) {
        // A group switch takes about a second: windows repaint and timers run meanwhile, but
        // clicks and keys wait, so that frames never interleave.
        QEventLoop loop;
        QTimer timer;
        timer.setTimerType(Qt::PreciseTimer);
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        timer.start(milliseconds);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    // A timer may wake a little early or the loop may be told to quit: the line never gets less.
    const std::chrono::nanoseconds wanted = std::chrono::milliseconds(milliseconds);
    for (std::chrono::nanoseconds left = wanted - std::chrono::nanoseconds(clock.nsecsElapsed());
         left.count() > 0; left = wanted - std::chrono::nanoseconds(clock.nsecsElapsed()))
        std::this_thread::sleep_for(left);
}

OutputBit outputBit(int anschluss)
{
    return {(anschluss - 1) / 8 + 1, quint8(1u << ((anschluss - 1) % 8))};
}

std::array<quint8, 5> groupMasks(int gruppe)
{
    std::array<quint8, 5> masks{};
    Query query(
        QStringLiteral("select Anschluss from Schaltplan where Gruppen=:pgruppen order by Anschluss"));
    query.setParam(QStringLiteral("pgruppen"), gruppe);
    query.open();
    for (; !query.eof(); query.next()) {
        const int anschluss = query.field(QStringLiteral("Anschluss")).asInteger();
        if (anschluss < 1 || anschluss > 40)
            continue;
        const auto [module, mask] = outputBit(anschluss);
        masks[std::size_t(module - 1)] |= mask;
    }
    query.close();
    return masks;
}

void resendModules()
{
    for (int module = 1; module <= 5; ++module)
        fSendModul(switchCommand, quint8(module), stored(module));
}

void restart(RecordSet& parameters, const std::function<bool()>& abortAfterFailure)
{
    if (!parameters.field(QStringLiteral("Lichtschaltung")).asBoolean())
        return;
    // The parameters are the hall's; the relay line is one desk's. A desk whose registry names no
    // port for it leaves the line to the desk that does, instead of failing at every start.
    const int port = parameters.field(QStringLiteral("ComPort")).asInteger();
    if (Store::sharedByDesks() && Registry::text(QStringLiteral("COM%1").arg(port + 1)).isEmpty())
        return;
    fLoadModule();
    for (;;) {
        try {
            link().open(parameters.field(QStringLiteral("ComPort")).asInteger());
        } catch (const RelayError&) {
            if (!abortAfterFailure || abortAfterFailure())
                return;
            continue;
        }
        resendModules();
        return;
    }
}

} // namespace Relays
