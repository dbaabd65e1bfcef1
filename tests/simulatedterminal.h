#pragma once

#include "cards/cardlayouts.h"
#include "cards/smartcard.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The simulated terminal for one test: its own card file, the program's loader pointed at the
// built libscard32.so, and cards inserted with the scardsim tool as a person would.
struct SimulatedTerminal {
    QTemporaryDir dir;

    SimulatedTerminal()
    {
        qputenv("SCARDSIM_CARD", dir.filePath(QStringLiteral("card.bin")).toLocal8Bit());
        SmartCard::setProgramDirectory(QStringLiteral(SCARDSIM_DIR));
    }
    ~SimulatedTerminal()
    {
        SmartCard::setProgramDirectory({});
        qunsetenv("SCARDSIM_CARD");
    }
    SimulatedTerminal(const SimulatedTerminal&) = delete;
    SimulatedTerminal& operator=(const SimulatedTerminal&) = delete;

    static bool run(const QStringList& args)
    {
        QProcess tool;
        tool.start(QStringLiteral(SCARDSIM_TOOL), args);
        return tool.waitForFinished(10000) && tool.exitStatus() == QProcess::NormalExit &&
               tool.exitCode() == 0;
    }
    static bool insertMember(int number, const QString& surname, const QString& firstName)
    {
        return run({QStringLiteral("member"), QString::number(number), surname, firstName});
    }
    // True while a program holds the inserted card without having sent "Card,Unlock,".
    static bool cardLocked() { return run({QStringLiteral("locked")}); }
    static bool insertEmployee(const QString& user, const QString& password)
    {
        return run({QStringLiteral("employee"), user, password});
    }
    bool insertRaw(const QByteArray& memory)
    {
        const QString image = dir.filePath(QStringLiteral("image.bin"));
        QFile file(image);
        if (!file.open(QIODevice::WriteOnly) || file.write(memory) != memory.size())
            return false;
        file.close();
        return run({QStringLiteral("insert"), image});
    }
};
