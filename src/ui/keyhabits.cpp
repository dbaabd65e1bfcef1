#include "ui/keyhabits.h"

#include "ui/deskwindow.h"
#include "ui/helpviewer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

class Filter : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        auto* window = qobject_cast<DeskWindow*>(widget->window());
        if (!window)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!window->enterMovesFocus() || takesLineBreaks(widget))
                return false;
            if (key->modifiers() & ~Qt::KeypadModifier)
                return false;
            window->focusNextControl();
            return true;
        case Qt::Key_Escape:
            if (QAbstractButton* button = window->escapeButton();
                button && button->isEnabled() && button->isVisible()) {
                button->click();
                return true;
            }
            return false;
        case Qt::Key_F1:
            if (window->helpTopic() > 0) {
                Help::showTopic(window->helpTopic());
                return true;
            }
            return false;
        default: return false;
        }
    }

private:
    // A multi-line text keeps its Enter: the user is writing a paragraph, not moving on.
    static bool takesLineBreaks(const QWidget* widget)
    {
        for (const QWidget* w = widget; w && !w->isWindow(); w = w->parentWidget()) {
            if (const auto* text = qobject_cast<const QPlainTextEdit*>(w))
                return !text->isReadOnly();
            if (const auto* text = qobject_cast<const QTextEdit*>(w))
                return !text->isReadOnly();
        }
        return false;
    }
};

} // namespace

namespace KeyHabits {

void install()
{
    static Filter* filter = nullptr;
    if (filter || !qApp)
        return;
    filter = new Filter(qApp);
    qApp->installEventFilter(filter);
}

} // namespace KeyHabits
