#include "app/u_runonce.h"

#include <QDir>

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
