#pragma once

// One filter over the whole application gives every DeskWindow its keys before the focused
// control sees them: Enter moves the focus to the next control (the key is dropped), Esc presses
// the window's escape button, F1 opens the window's help topic.
namespace KeyHabits {

// Installed once; later calls do nothing.
void install();

} // namespace KeyHabits
