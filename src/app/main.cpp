#include "app/messagebox.h"
#include "app/u_intro.h"
#include "app/u_main.h"
#include "app/u_runonce.h"
#include "app/windowset.h"
#include "data/store.h"
#include "platform/messages.h"
#include "ui/forms.h"

#include <QApplication>

#include <cstdio>
#include <memory>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    installMessageBoxes();
    RunOnce runOnce;
    if (!runOnce.acquire()) {
        Messages::information(runOnce.refusal());
        return runOnce.heldElsewhere() ? 0 : 1;
    }
    QApplication::setApplicationName(QStringLiteral("Courtoria"));
    // Independent windows may still be open: the program ends with the main window alone.
    QApplication::setQuitOnLastWindowClosed(false);

    WindowSet::createMain();
    auto intro = std::make_unique<Tfrm_intro>(WindowSet::objectCount());
    intro->show();
    intro->repaint();
    QApplication::processEvents();
    intro->step();
    WindowSet::createObjects([&intro] { intro->step(); });
    intro.reset();

    Tfrm_main* mainWindow = forms().main;
    QObject::connect(mainWindow, &Tfrm_main::ended, &app, &QApplication::quit, Qt::QueuedConnection);
    if (qEnvironmentVariableIsSet("COURTORIA_EXIT_AFTER_SHOW")) {
        // Measurements start the program and wait for this line.
        QObject::connect(mainWindow, &Tfrm_main::shown, &app, [] {
            std::printf("courtoria: main window shown\n");
            std::fflush(stdout);
            QApplication::quit();
        });
    }
    mainWindow->show();
    const int code = QApplication::exec();
    WindowSet::destroyAll();
    // Closed while the application object still exists, before static statements go away.
    Store::close();
    return code;
}
