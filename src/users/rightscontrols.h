#pragma once

#include "users/rightsmap.h"

// Sets the enabled state of the governed menu items and buttons of the created windows.
void applyControlStates(const QVector<RightsMap::ControlState>& states);
