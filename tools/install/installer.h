#pragma once

#include <QString>

namespace Installer {

struct Options {
    QString directory;
    // A libpq connection string ("service=courtoria", "host=/run/postgresql dbname=hall"): the
    // tables go onto that server's database instead of into DIR/Tables.
    QString server;
    bool demo = false;
    int today = 0;  // day count; 0 takes today
    double now = 0; // moment; 0 takes now
};

// Creates every table with its installed rows (and the demo rows when asked) in one transaction,
// DIR/Backup, and writes Installdirectory into the registry. Without a server the tables go into
// DIR/Tables/Tennistables.sqlite; with one onto its database, which must hold none of the tables
// yet, and the registry's Datenbank names the server. An existing database is never touched.
// Returns an empty text on success, else what went wrong.
QString install(const Options& options);

} // namespace Installer
