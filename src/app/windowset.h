#pragma once

#include <QStringList>

#include <functional>

// Creates the windows and the data module once, in the fixed order of the start-up, into
// forms(); they live until destroyAll(). One table in windowset.cpp says which objects exist and
// in which order: creation follows it, the loading bar counts it and deletion runs it backwards.
// Every window is created as a child of the main window, so that it stays with the main window
// and has no task-bar entry of its own; create the main window first.
namespace WindowSet {

// The number of objects createObjects() makes (the main window not counted).
int objectCount();
// Their class names in the order of creation.
QStringList creationOrder();

void createMain();
// Calls step after each object, also after one whose creation failed, so that a loading bar
// fills. A store error while an object is created is shown and the next object follows; the
// failed object's slot in forms() stays empty.
void createObjects(const std::function<void()>& step = {});
// Deletes every created window and the data module in the reverse order of creation, the main
// window last.
void destroyAll();

// Runs before each object is created, with its class name; a store error it throws counts as
// that object's failure. Tests use it to make one creation fail. Empty: nothing runs.
void setCreationProbe(std::function<void(const QString& className)> probe);

} // namespace WindowSet
