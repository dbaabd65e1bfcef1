#pragma once

class QWidget;

// Keeps a window's screen position in the current user's settings, under the window's
// objectName: the position of its own area (ClientLeft, ClientTop), which reopens it exactly where
// it was closed whatever frame a window manager draws around it, and that of its frame (Left, Top). A window
// seen for the first time, or whose stored place lies on no screen any more, is centred on the screen
// instead.
namespace Placement {

void restore(QWidget* window);
void save(const QWidget* window);
void centre(QWidget* window);

} // namespace Placement
