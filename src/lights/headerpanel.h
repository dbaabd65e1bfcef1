#pragma once

class QString;
class QWidget;

// The grey panel with the window's title across the top of the light windows.
QWidget* makeHeaderPanel(const QString& text, QWidget* parent);
