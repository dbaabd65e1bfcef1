#pragma once

#include <functional>

// Creates the windows and the data module once, in the fixed order of the start-up, into
// forms(); they live until destroyAll().
namespace WindowSet {

inline constexpr int objectCount = 32;

void createMain();
// Calls step after each created object.
void createObjects(const std::function<void()>& step = {});
// Deletes every created window and the data module, the main window last.
void destroyAll();

} // namespace WindowSet
