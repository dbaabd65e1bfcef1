#include "platform/usersettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace UserSettings {

QString filePath()
{
    const QString path = qEnvironmentVariable("COURTORIA_USER_SETTINGS");
    if (!path.isEmpty())
        return path;
    QString home = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (home.isEmpty())
        home = QDir::homePath() + QStringLiteral("/.config");
    return home + QStringLiteral("/Courtoria/windows.ini");
}

QVariant value(const QString& group, const QString& name, const QVariant& fallback)
{
    QSettings settings(filePath(), QSettings::IniFormat);
    return settings.value(group + QLatin1Char('/') + name, fallback);
}

void setValue(const QString& group, const QString& name, const QVariant& value)
{
    const QString path = filePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue(group + QLatin1Char('/') + name, value);
}

} // namespace UserSettings
