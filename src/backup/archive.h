#pragma once

#include <QDate>
#include <QString>

#include <functional>

// Saving the tables into a zip archive and restoring them, apart from any window. The store's own
// file is what is saved: a consistent copy of Tennistables.sqlite made with SQLite's backup API,
// stored under its bare name, deflated at level 9; on a server, a dump of its database in
// pg_dump's custom format, Tennistables.dump. A restore refuses an archive with any entry whose
// name holds a directory or "..", one whose database is missing or unusable, and one of the other
// engine, before writing anything; it closes the database before the files are replaced, or
// before the server's tables are replaced in one transaction.
namespace Archive {

// "Tables" followed by the date as YYYYMMDD.
QString defaultName(const QDate& day);
// The archive file in a directory: a separator is added only where the directory has none.
QString archivePath(const QString& directory, const QString& name);
// A file may be restored when its extension is ".zip" in any case.
bool isRestoreFile(const QString& path);

// What the progress display is told: a new file with its name and size, one step per 32768
// bytes of it, and the end of the run; and, while the server's own program works for a while
// without telling how far it is, that it is still busy.
struct Progress {
    std::function<void(const QString& name, qint64 size)> newFile;
    std::function<void()> step;
    std::function<void()> finished;
    std::function<void()> busy;
};
inline constexpr qint64 stepBytes = 32768;

// Whether the store a save reads and a restore replaces is in place: the table directory of a
// single desk; on a server, which keeps no tables at the desk, the installation directory that the
// work is done in.
bool storeInPlace();
// Throws ArchiveError. A save builds the archive in a work folder beside it and puts it in place
// when it is complete: the archive it replaces stays whole until then.
void save(const QString& archive, const Progress& progress = {});
// Throws ArchiveError. Before anything is replaced, every entry is extracted into a work folder
// beside the table directory and the database there must pass SQLite's integrity check and hold
// the fifteen tables (a server's dump: pg_restore must read it, and it must hold the fifteen
// tables with their rows); an archive without the database, or with a damaged one, is refused
// whole.
void restore(const QString& archive, const QString& tablesDirectory, const Progress& progress = {});
// Removes what saves and restores in folder left behind when their program was killed.
void removeLeftovers(const QString& folder);

class ArchiveError : public std::runtime_error {
public:
    // Failed: the library or the disk failed. Refused: the archive is not one to restore.
    enum Kind { Failed, Refused };
    explicit ArchiveError(const QString& message, Kind kind = Failed)
        : std::runtime_error(message.toStdString())
        , message_(message)
        , kind_(kind)
    {
    }
    const QString& message() const { return message_; }
    Kind kind() const { return kind_; }

private:
    QString message_;
    Kind kind_;
};

} // namespace Archive
