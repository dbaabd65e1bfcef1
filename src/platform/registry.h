#pragma once

#include <QString>
#include <QVariant>

// The machine-wide key SOFTWARE\Vantrell, kept as the INI group [Vantrell] of one file.
namespace Registry {

// COURTORIA_REGISTRY, else $XDG_CONFIG_HOME/Vantrell/registry.ini.
QString filePath();

QVariant value(const QString& name, const QVariant& fallback = {});
QString text(const QString& name, const QString& fallback = {});
// Returns false when the file cannot be written.
bool setValue(const QString& name, const QVariant& value);

} // namespace Registry
