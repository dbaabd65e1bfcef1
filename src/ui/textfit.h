#pragma once

#include <QFont>
#include <QStringList>

class QWidget;

// Fixed places on the desk's screens leave a text only so many pixels; where the usual type is too
// wide for them, a smaller one keeps the text whole instead of cutting it off or running it into
// the next.
namespace TextFit {

// The given font, or the largest smaller one (down to 6 points) in which the widest of the texts
// takes at most `width` pixels.
QFont fitting(const QFont& font, const QStringList& texts, int width);

// Shrinks a control's font until its size hint is at most `width` wide (down to 6 points).
void shrinkToWidth(QWidget* control, int width);

} // namespace TextFit
