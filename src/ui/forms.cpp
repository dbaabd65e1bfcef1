#include "ui/forms.h"

#include <QApplication>
#include <QWidget>

Forms& forms()
{
    static Forms created;
    return created;
}

QWidget* Forms::window(const QString& name)
{
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows)
        if (w->objectName() == name)
            return w;
    return nullptr;
}
