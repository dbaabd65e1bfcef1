#pragma once

#include "data/sqldialect.h"
#include "data/store.h"

#include <QDeadlineTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QThread>

#include <atomic>
#include <functional>
#include <thread>

// Another desk on the same server: a connection of its own in a thread of its own that takes the
// number lock of a kind inside its own transaction, does its work there, and keeps the transaction
// open until another connection waits for it (for that lock or a row it wrote; or ten seconds have
// passed), then commits. A desk that draws its number without the lock does not wait and draws
// the same one. A desk that ends at once commits as soon as its work is done.
class RacingDesk {
public:
    enum class Ends { OnceWaitedFor, AtOnce };

    RacingDesk(const QString& conninfo, const QString& kind, std::function<bool(QSqlDatabase&)> work,
               Ends ends = Ends::OnceWaitedFor)
        : thread_([this, conninfo, kind, work, ends] {
            const QString name = QStringLiteral("racingdesk_") + kind;
            {
                QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
                db.setConnectOptions(conninfo + QStringLiteral(" connect_timeout=5"));
                if (db.open()) {
                    QSqlQuery begin(db);
                    QSqlQuery lock(db);
                    if (begin.exec(QStringLiteral("begin")) &&
                        lock.prepare(QString::fromLatin1(dialect(Engine::PostgreSQL).lockNumbers))) {
                        lock.addBindValue(Store::numberLockKey(kind));
                        worked = lock.exec() && work(db);
                    }
                    holding = true;
                    // pg_locks is read afresh by each statement; the activity view would stay as
                    // it was when the transaction first read it.
                    QDeadlineTimer deadline(ends == Ends::AtOnce ? 0 : 10000);
                    while (!deadline.hasExpired()) {
                        QSqlQuery waiters(db);
                        if (waiters.exec(QStringLiteral("select count(*) from pg_locks where not granted and "
                                                        "pg_backend_pid() = any(pg_blocking_pids(pid))")) &&
                            waiters.next() && waiters.value(0).toInt() > 0) {
                            waited = true;
                            break;
                        }
                        QThread::msleep(20);
                    }
                    committed = worked && db.commit();
                }
                db.close();
            }
            QSqlDatabase::removeDatabase(name);
            done = true;
        })
    {
    }
    ~RacingDesk() { thread_.join(); }
    RacingDesk(const RacingDesk&) = delete;
    RacingDesk& operator=(const RacingDesk&) = delete;

    std::atomic<bool> holding{false};   // its work is done, its transaction still open
    std::atomic<bool> worked{false};    // the lock and its work succeeded
    std::atomic<bool> waited{false};    // this desk was seen waiting for the lock
    std::atomic<bool> committed{false}; // and its transaction was committed
    std::atomic<bool> done{false};

private:
    std::thread thread_;
};
