// courtoria-install --dir DIR [--server CONNINFO] [--demo]: creates a Courtoria installation in DIR,
// its tables in DIR/Tables or on the PostgreSQL database that CONNINFO reaches.

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
    const QCommandLineOption serverOption(
        QStringLiteral("server"),
        QStringLiteral("Create the tables on the empty PostgreSQL database that the libpq connection string "
                       "CONNINFO reaches, for several desks."),
        QStringLiteral("CONNINFO"));
    parser.addOption(dirOption);
    parser.addOption(serverOption);
    parser.addOption(demoOption);
    parser.process(app);
    if (!parser.isSet(dirOption)) {
        std::fprintf(stderr, "courtoria-install: --dir DIR is required\n");
        return 2;
    }
    if (parser.isSet(serverOption) && parser.value(serverOption).trimmed().isEmpty()) {
        std::fprintf(stderr, "courtoria-install: --server needs a connection string\n");
        return 2;
    }
    Installer::Options options;
    options.directory = parser.value(dirOption);
    options.server = parser.value(serverOption).trimmed();
    options.demo = parser.isSet(demoOption);
    const QString failure = Installer::install(options);
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "courtoria-install: %s\n", failure.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
