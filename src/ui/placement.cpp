#include "ui/placement.h"

#include "platform/usersettings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <optional>

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

namespace {

// A stored place, unless it is missing or lies on no screen (one unplugged since must not swallow
// the window).
std::optional<QPoint> storedPlace(const QString& group, const QString& leftKey, const QString& topKey)
{
    const QVariant left = UserSettings::value(group, leftKey);
    const QVariant top = UserSettings::value(group, topKey);
    if (!left.isValid() || !top.isValid())
        return std::nullopt;
    const QPoint place(left.toInt(), top.toInt());
    if (!QGuiApplication::screenAt(place + QPoint(20, 20)))
        return std::nullopt;
    return place;
}

} // namespace

void restore(QWidget* window)
{
    const QString group = window->objectName();
    // The window's own area is placed where it was: a window manager adds its frame around it.
    // A frame position would be taken for the area's own while the frame is not yet known, and
    // the window would open higher by its title bar on every run.
    if (const auto client = storedPlace(group, QStringLiteral("ClientLeft"), QStringLiteral("ClientTop"))) {
        window->setGeometry(QRect(*client, window->size()));
        return;
    }
    // Settings of an earlier version hold the frame's position only.
    if (const auto frame = storedPlace(group, QStringLiteral("Left"), QStringLiteral("Top"))) {
        window->move(*frame);
        return;
    }
    centre(window);
}

void save(const QWidget* window)
{
    const QString group = window->objectName();
    UserSettings::setValue(group, QStringLiteral("Left"), window->pos().x());
    UserSettings::setValue(group, QStringLiteral("Top"), window->pos().y());
    UserSettings::setValue(group, QStringLiteral("ClientLeft"), window->geometry().x());
    UserSettings::setValue(group, QStringLiteral("ClientTop"), window->geometry().y());
}

} // namespace Placement
