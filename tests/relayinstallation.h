#pragma once

#include "data/session.h"
#include "lights/relays.h"
#include "platform/registry.h"
#include "relayline.h"
#include "testinstallation.h"

#include <memory>

// A fresh installation whose COM1 is a relay line read from the other end and whose COM2 names a
// device that cannot be opened; the session's module state and pause start as after a start-up.
class RelayInstallation {
public:
    RelayInstallation()
    {
        if (!installation.isValid() || !line.isValid())
            return;
        Registry::setValue(QStringLiteral("COM1"), line.device());
        Registry::setValue(QStringLiteral("COM2"), installation.path() + QStringLiteral("/no-such-port"));
        Session::Modulzustand = {};
        Session::Wartezeit = 10;
    }
    ~RelayInstallation() { Relays::link().close(); }
    RelayInstallation(const RelayInstallation&) = delete;
    RelayInstallation& operator=(const RelayInstallation&) = delete;

    bool isValid() const { return installation.isValid() && line.isValid(); }

    TestInstallation installation;
    RelayLine line;
};
