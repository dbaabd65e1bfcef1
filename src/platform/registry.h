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

// The serial device behind port index 0 to 3: the values COM1 to COM4, by default /dev/ttyS0 to
// /dev/ttyS3. Any other index names no device (empty).
QString serialDevice(int portIndex);

} // namespace Registry
