#include "platform/registry.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

QString configHome()
{
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    return xdg.isEmpty() ? QDir::homePath() + QStringLiteral("/.config") : xdg;
}

} // namespace

namespace Registry {

QString filePath()
{
    const QString path = qEnvironmentVariable("COURTORIA_REGISTRY");
    return path.isEmpty() ? configHome() + QStringLiteral("/Vantrell/registry.ini") : path;
}

QVariant value(const QString& name, const QVariant& fallback)
{
    QSettings settings(filePath(), QSettings::IniFormat);
    return settings.value(QStringLiteral("Vantrell/") + name, fallback);
}

QString text(const QString& name, const QString& fallback)
{
    return value(name, fallback).toString();
}

bool setValue(const QString& name, const QVariant& value)
{
    const QString path = filePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue(QStringLiteral("Vantrell/") + name, value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

QString serialDevice(int portIndex)
{
    if (portIndex < 0 || portIndex > 3)
        return {};
    const QString name = QStringLiteral("COM%1").arg(portIndex + 1);
    const QString device = text(name);
    return device.isEmpty() ? QStringLiteral("/dev/ttyS%1").arg(portIndex) : device;
}

} // namespace Registry
