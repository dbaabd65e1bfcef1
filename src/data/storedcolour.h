#pragma once

#include <QColor>

// Colours are stored as 0x00BBGGRR: pure red is 255, pure yellow 65535.
inline QColor colourFromStored(qint64 bgr)
{
    return QColor(int(bgr & 0xff), int((bgr >> 8) & 0xff), int((bgr >> 16) & 0xff));
}

inline qint64 storedColour(const QColor& colour)
{
    return qint64(colour.red()) | qint64(colour.green()) << 8 | qint64(colour.blue()) << 16;
}
