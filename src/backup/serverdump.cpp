#include "backup/serverdump.h"

#include "backup/archive.h"
#include "data/changes.h"
#include "data/store.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace ServerDump {
namespace {

// A hall's database is dumped in seconds; a program still at work after this is stuck.
constexpr int toolMinutes = 10;

QString conninfo()
{
    try {
        return Store::location().connectOptions;
    } catch (const StoreError& e) {
        throw Archive::ArchiveError(e.message());
    }
}

struct Finished {
    bool ok = false;
    QByteArray output;
    QString words; // what the program said on its standard error, or how it ended
};

// Runs a client program without a shell, waiting for it in short slices so that the display keeps
// moving, and ends it when it takes too long.
Finished run(const QString& program, const QStringList& arguments, const std::function<void()>& busy,
             const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    const QString name = QFileInfo(program).fileName();
    QProcess process;
    process.setProcessEnvironment(environment);
    // A program asking for a password would wait for a terminal nobody looks at.
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForStarted())
        throw Archive::ArchiveError(QStringLiteral("%1: %2").arg(program, process.errorString()));
    const QDeadlineTimer deadline{std::chrono::minutes(toolMinutes)};
    if (busy)
        busy();
    while (!process.waitForFinished(100)) {
        if (process.state() == QProcess::NotRunning)
            break;
        if (deadline.hasExpired()) {
            process.kill();
            process.waitForFinished();
            throw Archive::ArchiveError(QStringLiteral("%1 did not finish within %2 minutes and was stopped.")
                                            .arg(name)
                                            .arg(toolMinutes));
        }
        if (busy)
            busy();
    }
    Finished finished;
    finished.output = process.readAllStandardOutput();
    finished.words = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    finished.ok = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!finished.ok && finished.words.isEmpty())
        finished.words = process.exitStatus() == QProcess::NormalExit
                             ? QStringLiteral("%1 ended with exit code %2.").arg(name).arg(process.exitCode())
                             : QStringLiteral("%1 ended abnormally: %2").arg(name, process.errorString());
    return finished;
}

QString tool(const QString& name)
{
    return clientTool(name, serverMajorVersion());
}

// Watches pg_restore's connection, named by its application_name, from a connection of its own:
// pg_restore sets lock_timeout to 0 for its session whatever the environment says, so a table
// that another desk holds in an open transaction would keep it, and this desk, waiting for good.
// A wait longer than lockWaitSeconds is cancelled, which undoes the whole restore.
class LockWatch {
public:
    LockWatch(const QString& conninfo, const QString& applicationName)
        : connection_(applicationName + QStringLiteral("-watch"))
        , applicationName_(applicationName)
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QString::fromLatin1(dialect(Engine::PostgreSQL).driver), connection_);
        db.setConnectOptions(conninfo);
        if (!db.open()) {
            const QString words = db.lastError().text();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(connection_);
            throw Archive::ArchiveError(words);
        }
    }
    ~LockWatch()
    {
        QSqlDatabase::database(connection_, false).close();
        QSqlDatabase::removeDatabase(connection_);
    }
    LockWatch(const LockWatch&) = delete;
    LockWatch& operator=(const LockWatch&) = delete;

    void check()
    {
        // A look twice a second is plenty for a wait of seconds.
        if (cancelled_ || (looked_.isValid() && looked_.elapsed() < 500))
            return;
        looked_.start();
        QSqlQuery query(QSqlDatabase::database(connection_, false));
        query.prepare(
            QStringLiteral("select pg_cancel_backend(pid) from pg_stat_activity where application_name = "
                           "? and wait_event_type = 'Lock' and clock_timestamp() - query_start > "
                           "make_interval(secs => ?)"));
        query.addBindValue(applicationName_);
        query.addBindValue(lockWaitSeconds);
        if (query.exec() && query.next() && query.value(0).toBool())
            cancelled_ = true;
    }
    bool cancelled() const { return cancelled_; }

private:
    QString connection_;
    QString applicationName_;
    QElapsedTimer looked_;
    bool cancelled_ = false;
};

} // namespace

int serverMajorVersion()
{
    try {
        QSqlQuery query(Store::database());
        if (!query.exec(QStringLiteral("select current_setting('server_version_num')")) || !query.next())
            throw Store::error(query.lastError());
        return query.value(0).toInt() / 10000;
    } catch (const StoreError& e) {
        throw Archive::ArchiveError(e.message());
    }
}

QString clientTool(const QString& name, int major, const QString& root)
{
    const QString path = QDir(root).filePath(QStringLiteral("%1/bin/%2").arg(major).arg(name));
    if (!QFileInfo(path).isExecutable())
        throw Archive::ArchiveError(
            QStringLiteral(
                "The PostgreSQL %1 client tools (%2) are not installed on this desk: %3 is missing.")
                .arg(major)
                .arg(name, path));
    return path;
}

void dump(const QString& file, const std::function<void()>& busy)
{
    const QString pgDump = tool(QStringLiteral("pg_dump"));
    const Finished done = run(pgDump,
                              {QStringLiteral("--format=custom"), QStringLiteral("--no-password"),
                               QStringLiteral("--file=") + file, QStringLiteral("--dbname=") + conninfo()},
                              busy);
    if (!done.ok)
        throw Archive::ArchiveError(done.words);
}

Contents contents(const QString& file, const std::function<void()>& busy)
{
    const Finished done = run(tool(QStringLiteral("pg_restore")), {QStringLiteral("--list"), file}, busy);
    Contents read;
    read.readable = done.ok;
    read.list = done.output;
    read.problem = done.words;
    return read;
}

QStringList tablesWithRows(const QByteArray& list)
{
    // "216; 1259 16391 TABLE public Länder owner": the name may hold blanks, schema and owner not.
    static const QRegularExpression entry(
        QStringLiteral("^\\d+; \\d+ \\d+ (TABLE DATA|TABLE) \\S+ (.+) \\S+$"));
    QSet<QString> defined;
    QStringList withRows;
    for (const QString& line : QString::fromUtf8(list).split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = entry.match(line.trimmed());
        if (!match.hasMatch())
            continue;
        if (match.captured(1) == QLatin1String("TABLE"))
            defined.insert(match.captured(2));
        else
            withRows << match.captured(2);
    }
    QStringList tables;
    for (const QString& name : withRows)
        if (defined.contains(name) && !tables.contains(name))
            tables << name;
    return tables;
}

void restore(const QString& file, const std::function<void()>& busy)
{
    // Read before the store lets go of its connection, which answers the server's version.
    const QString pgRestore = tool(QStringLiteral("pg_restore"));
    const QString name =
        QStringLiteral("courtoria-restore-") + QUuid::createUuid().toString(QUuid::Id128).left(12);
    const QString target = conninfo();
    LockWatch watch(target, name);
    Store::close();
    const Finished done =
        run(pgRestore,
            {QStringLiteral("--clean"), QStringLiteral("--if-exists"), QStringLiteral("--single-transaction"),
             QStringLiteral("--no-owner"), QStringLiteral("--exit-on-error"), QStringLiteral("--no-password"),
             QStringLiteral("--dbname=%1 application_name=%2").arg(target, name), file},
            [&] {
                watch.check();
                if (busy)
                    busy();
            });
    if (!done.ok && watch.cancelled())
        throw Archive::ArchiveError(
            QStringLiteral("The restore waited %1 seconds for a table that another desk "
                           "is using in a transaction of its own, and was stopped; the "
                           "database is as it was. %2")
                .arg(lockWaitSeconds)
                .arg(done.words));
    if (!done.ok)
        throw Archive::ArchiveError(done.words);
    // Every window of every other desk shows rows that may have gone.
    try {
        for (const QString& channel : Changes::channels())
            Store::notify(channel);
    } catch (const StoreError&) {
        // The restore stands; the other desks see it when they next read.
    }
}

} // namespace ServerDump
