#pragma once

class QWidget;

// Keeps a window's screen position in the current user's settings, under the window's
// objectName. A window seen for the first time, or whose stored place lies on no screen any more,
// is centred on the screen instead.
namespace Placement {

void restore(QWidget* window);
void save(const QWidget* window);
void centre(QWidget* window);

} // namespace Placement
