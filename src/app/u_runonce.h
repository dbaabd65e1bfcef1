#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// Keeps a second copy of the program from starting: a lock file named after the token in the
// user's runtime directory (else the temp directory). A lock left behind by a copy that crashed
// is taken over; a copy that still runs keeps its lock however long it has been running.
class RunOnce {
public:
    explicit RunOnce(const QString& token = QStringLiteral("tennis"));
    ~RunOnce();
    RunOnce(const RunOnce&) = delete;
    RunOnce& operator=(const RunOnce&) = delete;

    // True when this process now holds the lock; false when another running copy holds it or the
    // lock file could not be written.
    bool acquire();
    bool isHeld() const { return held_; }
    // After a failed acquire: true when another running copy holds the lock.
    bool heldElsewhere() const;
    // After a failed acquire, what the desk is told: "Program already started !" when another copy
    // runs, else that the lock file could not be written, naming its folder.
    QString refusal() const;
    QString path() const { return path_; }

    static QString lockPath(const QString& token);

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
    bool held_ = false;
};
