#include "ui/storeaction.h"

#include "data/store.h"
#include "platform/messages.h"

namespace StoreAction {

bool run(const std::function<void()>& action)
{
    try {
        action();
        return true;
    } catch (const StoreError& e) {
        Messages::error(e.message());
        return false;
    }
}

} // namespace StoreAction
