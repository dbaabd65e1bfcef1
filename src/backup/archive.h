#pragma once

#include <QDate>
#include <QString>

#include <functional>

// Saving the tables into a zip archive and restoring them, apart from any window. The store's own
// file is what is saved: a consistent copy of Tennistables.sqlite made with SQLite's backup API,
// stored under its bare name, deflated at level 9. A restore closes the database first and
// refuses an archive with any entry whose name holds a directory or "..", before writing anything.
namespace Archive {

// "Tables" followed by the date as YYYYMMDD.
QString defaultName(const QDate& day);
// The archive file in a directory: a separator is added only where the directory has none.
QString archivePath(const QString& directory, const QString& name);
// A file may be restored when its extension is ".zip" in any case.
bool isRestoreFile(const QString& path);

// What the progress display is told: a new file with its name and size, one step per 32768
// bytes of it, and the end of the run.
struct Progress {
    std::function<void(const QString& name, qint64 size)> newFile;
    std::function<void()> step;
    std::function<void()> finished;
};
inline constexpr qint64 stepBytes = 32768;

// Throws ArchiveError.
void save(const QString& archive, const Progress& progress = {});
void restore(const QString& archive, const QString& tablesDirectory, const Progress& progress = {});

class ArchiveError : public std::runtime_error {
public:
    explicit ArchiveError(const QString& message)
        : std::runtime_error(message.toStdString())
        , message_(message)
    {
    }
    const QString& message() const { return message_; }

private:
    QString message_;
};

} // namespace Archive
