// The yardstick: a Qt program that shows one window and reports once it is shown, the way the
// program reports its main window.

#include <QApplication>
#include <QMainWindow>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.resize(960, 660);
    window.show();
    QTimer::singleShot(0, &app, [] {
        std::printf("bare: main window shown\n");
        std::fflush(stdout);
        QApplication::quit();
    });
    return QApplication::exec();
}
