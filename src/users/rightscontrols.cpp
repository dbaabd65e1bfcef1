#include "users/rightscontrols.h"

#include "ui/forms.h"

#include <QAction>
#include <QWidget>

void applyControlStates(const QVector<RightsMap::ControlState>& states)
{
    for (const RightsMap::ControlState& s : states) {
        QWidget* window = Forms::window(s.window);
        if (!window)
            continue;
        // Menu entries are actions, tool bar buttons widgets; a name is one or the other.
        if (auto* action = window->findChild<QAction*>(s.control))
            action->setEnabled(s.enabled);
        else if (auto* widget = window->findChild<QWidget*>(s.control))
            widget->setEnabled(s.enabled);
    }
}
