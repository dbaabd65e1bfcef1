#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// Saving and restoring the database of a PostgreSQL server with its own client programs, pg_dump
// and pg_restore, in their custom format. The programs are those of the server's major version:
// an older pg_dump refuses a newer server, and an older pg_restore cannot read a newer dump. Each
// connects with the store's own libpq string, so that the service file, the password file and
// sslmode reach them as they reach the store. `busy` is called as a program starts and about ten
// times a second while it works, so that a window can repaint.
namespace ServerDump {

inline constexpr const char* toolsRoot = "/usr/lib/postgresql";
// How long pg_restore may wait for a table that another desk holds before the restore is given up,
// so that a desk in the middle of a transaction makes it fail instead of freezing this one.
inline constexpr int lockWaitSeconds = 10;

// The major version of the store's server (server_version_num / 10000). Throws ArchiveError.
int serverMajorVersion();
// <root>/<major>/bin/<name>; throws ArchiveError when that version's client tools are missing.
QString clientTool(const QString& name, int major, const QString& root = QLatin1String(toolsRoot));

// Writes a dump of the whole database into file. Throws ArchiveError with pg_dump's words.
void dump(const QString& file, const std::function<void()>& busy = {});

// What pg_restore reads of a dump: its table of contents, or why it cannot read it.
struct Contents {
    bool readable = false;
    QByteArray list;
    QString problem;
};
Contents contents(const QString& file, const std::function<void()>& busy = {});
// The tables of a table of contents whose rows it holds as well, as the server's catalogue names
// them: a dump of the definitions alone would empty every table.
QStringList tablesWithRows(const QByteArray& list);

// Puts the dump's tables in the place of the database's, in one transaction: on any failure the
// database stays as it was. The store's connection is released first; the other desks hear that
// everything changed. Throws ArchiveError with pg_restore's words.
void restore(const QString& file, const std::function<void()>& busy = {});

} // namespace ServerDump
