#include "app/u_runonce.h"
#include "testinstallation.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// A second copy of the program, started while a first one runs, and what is left when the first
// one crashed.
class TestRunOnce : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void secondCopyWhileTheFirstRuns();
    void lockOfACrashedCopyIsTakenOver();
    void longRunningCopyKeepsItsLock();
    void lockLiesInTheRuntimeDirectory();
    void unwritableRuntimeFolderIsNoSecondCopy();

private:
    QProcessEnvironment environment() const;
    std::unique_ptr<QTemporaryDir> runtime_;
    std::unique_ptr<TestInstallation> installation_;
};

void TestRunOnce::init()
{
    runtime_ = std::make_unique<QTemporaryDir>();
    qputenv("XDG_RUNTIME_DIR", runtime_->path().toLocal8Bit());
    installation_ = std::make_unique<TestInstallation>(true);
    QVERIFY(installation_->isValid());
}

void TestRunOnce::cleanup()
{
    installation_.reset();
    runtime_.reset();
}

QProcessEnvironment TestRunOnce::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("COURTORIA_UNATTENDED"), QStringLiteral("1"));
    env.remove(QStringLiteral("COURTORIA_EXIT_AFTER_SHOW"));
    return env;
}

void TestRunOnce::secondCopyWhileTheFirstRuns()
{
    QProcess first;
    first.setProcessEnvironment(environment());
    first.start(QStringLiteral(COURTORIA_PROGRAM), {});
    QVERIFY(first.waitForStarted());
    // The first copy holds the lock once it runs.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(RunOnce::lockPath(QStringLiteral("tennis"))), 10000);

    QProcess second;
    second.setProcessEnvironment(environment());
    second.start(QStringLiteral(COURTORIA_PROGRAM), {});
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QVERIFY2(second.readAllStandardError().contains("Program already started !"), "no message");
    QVERIFY(second.readAllStandardOutput().isEmpty());

    QCOMPARE(first.state(), QProcess::Running);
    RunOnce here;
    QVERIFY(!here.acquire());
    first.kill();
    QVERIFY(first.waitForFinished(10000));
}

void TestRunOnce::lockOfACrashedCopyIsTakenOver()
{
    QProcess first;
    first.setProcessEnvironment(environment());
    first.start(QStringLiteral(COURTORIA_PROGRAM), {});
    QVERIFY(first.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(RunOnce::lockPath(QStringLiteral("tennis"))), 10000);
    first.kill(); // no chance to remove its lock file
    QVERIFY(first.waitForFinished(10000));
    QVERIFY(QFile::exists(RunOnce::lockPath(QStringLiteral("tennis"))));

    RunOnce next;
    QVERIFY(next.acquire());
}

void TestRunOnce::longRunningCopyKeepsItsLock()
{
    RunOnce first;
    QVERIFY(first.acquire());
    // A lock file untouched for an hour still belongs to a copy that runs.
    QFile file(first.path());
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    file.close();
    RunOnce second;
    QVERIFY(!second.acquire());
    QVERIFY(QFile::exists(first.path()));
}

void TestRunOnce::lockLiesInTheRuntimeDirectory()
{
    QCOMPARE(RunOnce::lockPath(QStringLiteral("tennis")), runtime_->path() + QStringLiteral("/tennis.lock"));
    {
        RunOnce once;
        QVERIFY(once.acquire());
        QVERIFY(QFile::exists(once.path()));
    }
    QVERIFY(!QFile::exists(RunOnce::lockPath(QStringLiteral("tennis"))));
}

void TestRunOnce::unwritableRuntimeFolderIsNoSecondCopy()
{
    // A folder where no file can be created: read-only for an ordinary user, and /sys, where not
    // even the administrator may create one, when the tests run as root.
    QTemporaryDir folder;
    QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner));
    QString runtime = folder.path();
    if (QFile probe(folder.filePath(QStringLiteral("probe"))); probe.open(QIODevice::WriteOnly)) {
        probe.remove();
        runtime = QStringLiteral("/sys");
    }
    if (!QFileInfo(runtime).isDir())
        QSKIP("no folder here refuses new files");
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    const QString expected =
        QStringLiteral("The lock file tennis.lock could not be written in the folder %1").arg(runtime);
    {
        RunOnce once;
        QVERIFY(!once.acquire());
        QVERIFY(!once.heldElsewhere());
        QVERIFY2(once.refusal().startsWith(expected), qPrintable(once.refusal()));
    }
    QProcess program;
    QProcessEnvironment env = environment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(COURTORIA_PROGRAM), {});
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 1);
    const QString said = QString::fromLocal8Bit(program.readAllStandardError());
    QVERIFY2(said.contains(expected), qPrintable(said));
    QVERIFY(!said.contains(QLatin1String("Program already started !")));
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QTEST_GUILESS_MAIN(TestRunOnce)
#include "tst_runonce.moc"
