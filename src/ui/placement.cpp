#include "ui/placement.h"

#include "platform/usersettings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace Placement {

void centre(QWidget* window)
{
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize size = window->frameGeometry().size();
    window->move(area.center() - QPoint(size.width() / 2, size.height() / 2));
}

void restore(QWidget* window)
{
    const QString group = window->objectName();
    const QVariant left = UserSettings::value(group, QStringLiteral("Left"));
    const QVariant top = UserSettings::value(group, QStringLiteral("Top"));
    if (left.isValid() && top.isValid()) {
        const QPoint place(left.toInt(), top.toInt());
        // A screen that was unplugged since must not swallow the window.
        if (QGuiApplication::screenAt(place + QPoint(20, 20))) {
            window->move(place);
            return;
        }
    }
    centre(window);
}

void save(const QWidget* window)
{
    const QString group = window->objectName();
    UserSettings::setValue(group, QStringLiteral("Left"), window->pos().x());
    UserSettings::setValue(group, QStringLiteral("Top"), window->pos().y());
}

} // namespace Placement
