// bench_startup [runs]: starts the program on a dense year of bookings (12 courts x 96 quarters x
// 365 days) until its main window is shown, and a bare Qt program showing one window, alternately
// in the same run; prints the medians and their ratio. Runs under xvfb-run when there is no display.

#include "data/daycount.h"
#include "data/store.h"
#include "install/demodata.h"
#include "install/installer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSqlDatabase>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Milliseconds from the start of the process to its marker line; negative on failure.
double timeToShown(const QString& program, const QProcessEnvironment& env)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer clock;
    clock.start();
    process.start(program, {});
    if (!process.waitForStarted(10000))
        return -1;
    QByteArray out;
    double shown = -1;
    while (clock.elapsed() < 30000) {
        if (!process.waitForReadyRead(30000))
            break;
        out += process.readAllStandardOutput();
        if (out.contains("main window shown")) {
            shown = clock.nsecsElapsed() / 1e6;
            break;
        }
    }
    if (!process.waitForFinished(10000))
        process.kill();
    if (shown < 0)
        std::fprintf(stderr, "%s: %s\n", qPrintable(program), process.readAllStandardError().constData());
    return shown;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // Without a display the offscreen platform draws nothing at all, which flatters the bare
    // window; a virtual X server puts both programs on a screen as at the desk.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        !qEnvironmentVariableIsSet("BENCH_NO_XVFB")) {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
        if (!xvfb.isEmpty()) {
            QStringList args{QStringLiteral("-a"), QStringLiteral("-s"),
                             QStringLiteral("-screen 0 1280x1024x24"),
                             QCoreApplication::applicationFilePath()};
            for (int i = 1; i < argc; ++i)
                args << QString::fromLocal8Bit(argv[i]);
            QProcess wrapped;
            wrapped.setProcessChannelMode(QProcess::ForwardedChannels);
            wrapped.start(xvfb, args);
            wrapped.waitForFinished(-1);
            return wrapped.exitCode();
        }
    }
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 9;

    QTemporaryDir dir;
    qputenv("COURTORIA_REGISTRY", (dir.path() + QStringLiteral("/registry.ini")).toLocal8Bit());
    qputenv("COURTORIA_USER_SETTINGS", (dir.path() + QStringLiteral("/windows.ini")).toLocal8Bit());
    Installer::Options options;
    options.directory = dir.path() + QStringLiteral("/hall");
    const QString failure = Installer::install(options);
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "bench_startup: %s\n", qPrintable(failure));
        return 1;
    }
    {
        QSqlDatabase db = Store::database();
        db.transaction();
        DemoData::insertDenseBookings(db, DayCount::today() - 180, 365, 12);
        db.commit();
    }
    Store::close();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains(QStringLiteral("DISPLAY")) && !env.contains(QStringLiteral("WAYLAND_DISPLAY")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("COURTORIA_EXIT_AFTER_SHOW"), QStringLiteral("1"));
    env.insert(QStringLiteral("COURTORIA_UNATTENDED"), QStringLiteral("1"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());

    // One unmeasured start of each warms the file cache.
    timeToShown(QStringLiteral(BARE_PROGRAM), env);
    timeToShown(QStringLiteral(COURTORIA_PROGRAM), env);
    std::vector<double> bare, courtoria;
    for (int i = 0; i < runs; ++i) {
        const double b = timeToShown(QStringLiteral(BARE_PROGRAM), env);
        const double c = timeToShown(QStringLiteral(COURTORIA_PROGRAM), env);
        if (b < 0 || c < 0)
            return 1;
        bare.push_back(b);
        courtoria.push_back(c);
    }
    const double b = median(bare), c = median(courtoria);
    std::printf("start to main window shown, median of %d runs, %s platform\n", runs,
                qPrintable(env.value(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("default"))));
    std::printf("  bare Qt window      %8.1f ms\n", b);
    std::printf("  courtoria           %8.1f ms   ratio %.2f (target <= 3.00, under 1000 ms)\n", c, c / b);
    return c <= 3 * b && c < 1000 ? 0 : 2;
}
