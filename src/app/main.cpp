#include "data/query.h"
#include "data/store.h"
#include "platform/messages.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Courtoria"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Courtoria"));
    QString text;
    try {
        Query courts(QStringLiteral("select count(*) from Tische"));
        courts.open();
        text = QStringLiteral("Tennistables: %1 courts").arg(courts.field(0).asInteger());
    } catch (const StoreError& e) {
        text = e.message();
    }
    window.setCentralWidget(new QLabel(text));
    window.resize(800, 600);
    window.show();
    return app.exec();
}
