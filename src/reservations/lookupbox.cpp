#include "reservations/lookupbox.h"

#include <QKeyEvent>
#include <QLineEdit>

LookupBox::LookupBox(QWidget* parent)
    : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(15);
    // Typing must not pick a list entry by itself; only a choice from the list does.
    setCompleter(nullptr);
}

void LookupBox::setMaxLength(int length)
{
    lineEdit()->setMaxLength(length);
}

void LookupBox::showPopup()
{
    if (fill) {
        const QString typed = currentText();
        const QSignalBlocker quiet(this);
        fill();
        setCurrentIndex(findText(typed));
        setEditText(typed);
    }
    QComboBox::showPopup();
}

void LookupBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F5 && event->modifiers() == Qt::NoModifier) {
        showPopup();
        return;
    }
    QComboBox::keyPressEvent(event);
}
