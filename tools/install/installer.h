#pragma once

#include <QString>

namespace Installer {

struct Options {
    QString directory;
    bool demo = false;
    int today = 0;  // day count; 0 takes today
    double now = 0; // moment; 0 takes now
};

// Creates DIR/Tables/Tennistables.sqlite with every table and its installed rows (and the demo
// rows when asked), DIR/Backup, and writes Installdirectory into the registry. An existing
// database is never touched. Returns an empty text on success, else what went wrong.
QString install(const Options& options);

} // namespace Installer
