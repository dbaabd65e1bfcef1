#pragma once

#include <QString>
#include <QVariant>

// The current user's settings of the windows (placement, remembered control values).
namespace UserSettings {

// COURTORIA_USER_SETTINGS, else $XDG_CONFIG_HOME/Courtoria/windows.ini.
QString filePath();

QVariant value(const QString& group, const QString& name, const QVariant& fallback = {});
void setValue(const QString& group, const QString& name, const QVariant& value);

} // namespace UserSettings
