#pragma once

#include <functional>

// Runs one action of a window. A store error ends the action and its message is shown through the
// message seam; writes made before the error stay. Every window action that touches the tables
// goes through here instead of catching at each call site.
namespace StoreAction {

// True when the action ran to its end.
bool run(const std::function<void()>& action);

} // namespace StoreAction
