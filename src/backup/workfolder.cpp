#include "backup/workfolder.h"

#include "backup/archive.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryDir>

namespace {

const QString lockName = QStringLiteral("running.lock");

// A folder is made before its lock: one without a lock is left alone for a while, as it may be
// just being made.
constexpr qint64 unlockedGraceSeconds = 60;

} // namespace

const QString WorkFolder::prefix = QStringLiteral(".courtoria-work-");

WorkFolder::WorkFolder(const QString& parent)
{
    removeLeftovers(parent);
    dir_ = std::make_unique<QTemporaryDir>(QDir(parent).filePath(prefix + QStringLiteral("XXXXXX")));
    if (!dir_->isValid())
        throw Archive::ArchiveError(QStringLiteral("%1: %2").arg(parent, dir_->errorString()));
    lock_ = std::make_unique<QLockFile>(dir_->filePath(lockName));
    // Only a dead owner loses its lock, however long a save takes.
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(0))
        throw Archive::ArchiveError(QStringLiteral("The work folder %1 cannot be locked")
                                        .arg(QDir::toNativeSeparators(dir_->path())));
}

WorkFolder::~WorkFolder()
{
    lock_->unlock();
    lock_.reset();
    dir_.reset(); // removes the folder with whatever is left in it
}

QString WorkFolder::filePath(const QString& name) const
{
    return dir_->filePath(name);
}

void WorkFolder::removeLeftovers(const QString& parent)
{
    const QFileInfoList folders = QDir(parent).entryInfoList(
        QStringList{prefix + QLatin1Char('*')}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo& folder : folders) {
        const QString lockPath = QDir(folder.filePath()).filePath(lockName);
        if (!QFileInfo::exists(lockPath)) {
            if (folder.lastModified().secsTo(QDateTime::currentDateTime()) > unlockedGraceSeconds)
                QDir(folder.filePath()).removeRecursively();
            continue;
        }
        QLockFile lock(lockPath);
        lock.setStaleLockTime(0);
        if (!lock.tryLock(0))
            continue; // its program still runs
        lock.unlock();
        QDir(folder.filePath()).removeRecursively();
    }
}
