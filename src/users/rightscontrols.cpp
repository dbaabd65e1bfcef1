#include "users/rightscontrols.h"

#include "ui/forms.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace {

// The window a control belongs to: its first ancestor that is a window of its own, a pop-up
// menu not counting. Every window is a child of the main window, so a plain search from the
// main window would also reach into the others (the court plan has its own "mnu_prices").
const QWidget* owningWindow(const QObject* control)
{
    for (const QObject* o = control->parent(); o; o = o->parent())
        if (const auto* w = qobject_cast<const QWidget*>(o);
            w && w->isWindow() && !qobject_cast<const QMenu*>(w))
            return w;
    return nullptr;
}

template <typename T> T* ownControl(const QWidget* window, const QString& name)
{
    const auto found = window->findChildren<T*>(name);
    for (T* control : found)
        if (owningWindow(control) == window)
            return control;
    return nullptr;
}

} // namespace

void applyControlStates(const QVector<RightsMap::ControlState>& states)
{
    for (const RightsMap::ControlState& s : states) {
        QWidget* window = Forms::window(s.window);
        if (!window)
            continue;
        // Menu entries are actions, tool bar buttons widgets; a name is one or the other.
        if (auto* action = ownControl<QAction>(window, s.control))
            action->setEnabled(s.enabled);
        else if (auto* widget = ownControl<QWidget>(window, s.control))
            widget->setEnabled(s.enabled);
    }
}
