#include "ui/fieldcontrols.h"

#include "data/daycount.h"
#include "data/displayformat.h"
#include "data/fieldvalue.h"

#include <QKeyEvent>

#include <cmath>

QVariant ChoiceBox::value() const
{
    return currentIndex() < 0 ? QVariant() : currentData();
}

void ChoiceBox::setValue(const QVariant& value)
{
    const FieldValue wanted(value);
    for (int i = 0; i < count(); ++i) {
        const FieldValue item(itemData(i));
        if (item.asString() == wanted.asString() ||
            (!wanted.isEmpty() && item.asFloat() == wanted.asFloat() &&
             itemData(i).typeId() != QMetaType::QString)) {
            setCurrentIndex(i);
            return;
        }
    }
    setCurrentIndex(-1);
}

namespace {
// The lowest date stands for an empty field and shows as a blank.
const QDate emptyDate = DayCount::epoch;
} // namespace

DayCountEdit::DayCountEdit(QWidget* parent)
    : QDateEdit(parent)
{
    setCalendarPopup(true);
    setDisplayFormat(DisplayFormat::dateFormat());
    setMinimumDate(emptyDate);
    setSpecialValueText(QStringLiteral(" "));
    setDate(emptyDate);
}

QVariant DayCountEdit::dayCount() const
{
    return date() == emptyDate ? QVariant() : QVariant(double(DayCount::fromDate(date())));
}

void DayCountEdit::setDayCount(const QVariant& days)
{
    const FieldValue value(days);
    setDate(value.isEmpty() ? emptyDate : DayCount::toDate(std::floor(value.asFloat())));
}

void DayCountEdit::keyPressEvent(QKeyEvent* event)
{
    // Delete empties the date, as a blank edit field would.
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        setDate(emptyDate);
        return;
    }
    if (date() == emptyDate && !event->text().isEmpty() && event->text().front().isDigit())
        setDate(QDate::currentDate());
    QDateEdit::keyPressEvent(event);
}
