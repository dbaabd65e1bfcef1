#pragma once

#include <QHash>
#include <QString>
#include <QVector>

// Which controls each right of a Rechte row governs, and where they live. Windows are named by
// their objectName ("frm_main", "frm_courts"), controls by theirs.
namespace RightsMap {

struct Control {
    QString right;
    QString window;
    QString control;
};

struct ControlState {
    QString window;
    QString control;
    bool enabled = false;
};

// In the order the rights are applied after a log-in.
const QVector<Control>& controls();

// The enabled state of every governed control for a user's rights; a right missing from the map
// counts as not granted.
QVector<ControlState> statesFor(const QHash<QString, bool>& rights);

// Before any log-in, or when none is required, every governed control is enabled.
QVector<ControlState> allEnabled();

} // namespace RightsMap
