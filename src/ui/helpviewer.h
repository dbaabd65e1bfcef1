#pragma once

#include <QString>

class QTextBrowser;
class QWidget;

// The program's help: HTML pages shipped inside the program, shown in one viewer window at their
// contents or at a numbered topic.
namespace Help {

// The help file the program names; recorded as the application's help file.
void setHelpFile(const QString& name);
QString helpFile();

void showContents();
void showTopic(int topic);
// Closes the viewer, as the help system quits when the program ends.
void quit();

// The viewer, if it was ever opened (tests look at it).
QWidget* viewer();
QTextBrowser* browser();

} // namespace Help
