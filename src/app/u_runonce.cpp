#include "app/u_runonce.h"

#include <QDir>
#include <QFileInfo>

QString RunOnce::lockPath(const QString& token)
{
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty() || !QDir(dir).exists())
        dir = QDir::tempPath();
    return QDir(dir).filePath(token + QStringLiteral(".lock"));
}

RunOnce::RunOnce(const QString& token)
    : path_(lockPath(token))
    , lock_(std::make_unique<QLockFile>(path_))
{
    // QLockFile would call a lock older than 30 s stale even while its owner runs: only a dead
    // owner may lose the lock here.
    lock_->setStaleLockTime(0);
}

RunOnce::~RunOnce()
{
    if (held_)
        lock_->unlock();
}

bool RunOnce::acquire()
{
    if (held_)
        return true;
    held_ = lock_->tryLock(0);
    return held_;
}

bool RunOnce::heldElsewhere() const
{
    return !held_ && lock_->error() == QLockFile::LockFailedError;
}

QString RunOnce::refusal() const
{
    if (held_)
        return {};
    if (heldElsewhere())
        return QStringLiteral("Program already started !");
    // A full or read-only runtime folder is no second copy: say what failed, and where.
    const QString reason = lock_->error() == QLockFile::PermissionError
                               ? QStringLiteral("no permission to create files there")
                               : QStringLiteral("the folder may be full or not writable");
    const QFileInfo file(path_);
    return QStringLiteral("The lock file %1 could not be written in the folder %2 (%3).")
        .arg(file.fileName(), QDir::toNativeSeparators(file.absolutePath()), reason);
}
