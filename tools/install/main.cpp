// courtoria-install --dir DIR [--demo]: creates a Courtoria installation in DIR.

#include "install/installer.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("courtoria-install"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Creates the tables of a Courtoria installation."));
    parser.addHelpOption();
    const QCommandLineOption dirOption(QStringLiteral("dir"), QStringLiteral("Installation directory."),
                                       QStringLiteral("DIR"));
    const QCommandLineOption demoOption(QStringLiteral("demo"),
                                        QStringLiteral("Add courts, members and bookings around today."));
    parser.addOption(dirOption);
    parser.addOption(demoOption);
    parser.process(app);
    if (!parser.isSet(dirOption)) {
        std::fprintf(stderr, "courtoria-install: --dir DIR is required\n");
        return 2;
    }
    Installer::Options options;
    options.directory = parser.value(dirOption);
    options.demo = parser.isSet(demoOption);
    const QString failure = Installer::install(options);
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "courtoria-install: %s\n", failure.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
