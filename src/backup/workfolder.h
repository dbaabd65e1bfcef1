#pragma once

#include <QString>

#include <memory>

class QLockFile;
class QTemporaryDir;

// A folder of its own beside an archive or the table directory, holding what a save or a restore
// writes before it takes its place: the copy of the database, the zip library's temporary file, the
// extracted entries. A lock inside tells the folder of a running program from one left by a program
// that was killed; such leftovers are removed by the next save or restore in the same place.
class WorkFolder final {
public:
    // Throws Archive::ArchiveError when the folder cannot be made.
    explicit WorkFolder(const QString& parent);
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    QString filePath(const QString& name) const;

    // Removes the work folders in parent whose program no longer runs.
    static void removeLeftovers(const QString& parent);
    // Where the names of work folders begin.
    static const QString prefix;

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<QLockFile> lock_;
};
