#include "ui/fieldcontrols.h"

#include "data/daycount.h"
#include "data/displayformat.h"
#include "data/fieldvalue.h"

#include <QDoubleValidator>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLocale>

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

QDate today()
{
    return DayCount::currentMoment().date();
}

// Typing into an empty field starts from a date on which every day and month can be typed as it
// comes: the toolkit would cut a 31 typed into a month of 30 days, or 29 February into a common
// year, before the month or the year that makes it valid is typed.
QDate typingStart()
{
    int year = today().year();
    while (!QDate::isLeapYear(year))
        --year;
    return {year, 12, 1};
}

bool isWordKey(const QKeyEvent* event)
{
    const QString text = event->text();
    return text.size() == 1 && text.front().isLetterOrNumber() &&
           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

bool isSeparatorKey(const QKeyEvent* event)
{
    const QString text = event->text();
    return text.size() == 1 && text.front().isPrint() && !text.front().isLetterOrNumber();
}

} // namespace

DayCountEdit::DayCountEdit(QWidget* parent)
    : QDateEdit(parent)
{
    setCalendarPopup(true);
    setDisplayFormat(DisplayFormat::dateFormat());
    setMinimumDate(emptyDate);
    setSpecialValueText(QStringLiteral(" "));
    setDate(emptyDate);
    connect(this, &QDateEdit::dateChanged, this, [this] {
        if (!showing_)
            emit edited();
    });
}

QVariant DayCountEdit::dayCount() const
{
    const QDate shown = typing_ ? typedDate() : date();
    return shown == emptyDate ? QVariant() : QVariant(double(DayCount::fromDate(shown)));
}

void DayCountEdit::setDayCount(const QVariant& days)
{
    const FieldValue value(days);
    showing_ = true;
    typing_ = false;
    setDate(value.isEmpty() ? emptyDate : DayCount::toDate(std::floor(value.asFloat())));
    showing_ = false;
}

void DayCountEdit::startTyping()
{
    typing_ = true;
    typed_ = {};
    setDate(typingStart());
    setSelectedSection(sectionAt(0));
}

QDate DayCountEdit::typedDate() const
{
    const QDate shown = date();
    const QDate now = today();
    const int year = typed_.testFlag(YearSection) ? shown.year() : now.year();
    const int month = typed_.testFlag(MonthSection) ? shown.month() : now.month();
    const int day = typed_.testFlag(DaySection) ? shown.day() : now.day();
    return {year, month, std::min(day, QDate(year, month, 1).daysInMonth())};
}

void DayCountEdit::finishTyping()
{
    if (!typing_)
        return;
    const QDate typed = typedDate();
    typing_ = false;
    setDate(typed);
}

void DayCountEdit::keyPressEvent(QKeyEvent* event)
{
    // Delete empties the date, as a blank edit field would.
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        typing_ = false;
        setDate(emptyDate);
        return;
    }
    const bool word = isWordKey(event);
    if (date() == emptyDate && word)
        startTyping();
    // A section typed in full moves on by itself; the separator typed after it is the one already
    // passed, not a second step that would skip the next section ("7 Mar" typing the month).
    if (advanced_ && isSeparatorKey(event)) {
        advanced_ = false;
        return;
    }
    const int before = currentSectionIndex();
    const Section section = currentSection();
    QDateEdit::keyPressEvent(event);
    if (typing_ && word)
        typed_ |= section;
    advanced_ = word && currentSectionIndex() > before;
}

void DayCountEdit::focusOutEvent(QFocusEvent* event)
{
    QDateEdit::focusOutEvent(event);
    advanced_ = false;
    finishTyping();
}

namespace {

// Digits only, up to a highest value.
class DigitsValidator : public QValidator {
public:
    DigitsValidator(int maximum, QObject* parent)
        : QValidator(parent)
        , maximum_(maximum)
    {
    }
    State validate(QString& input, int&) const override
    {
        if (input.isEmpty())
            return Intermediate;
        for (const QChar c : std::as_const(input))
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return Invalid;
        bool ok = false;
        const qlonglong value = input.toLongLong(&ok);
        return ok && value <= maximum_ ? Acceptable : Invalid;
    }

private:
    int maximum_;
};

} // namespace

NumberEdit::NumberEdit(Kind kind, QWidget* parent)
    : QLineEdit(parent)
    , kind_(kind)
{
    // The store reads '.' as the decimal point and no group separators.
    if (kind == Kind::Whole) {
        auto* validator = new QIntValidator(this);
        validator->setLocale(QLocale::c());
        setValidator(validator);
    } else {
        auto* validator = new QDoubleValidator(this);
        validator->setLocale(QLocale::c());
        validator->setNotation(QDoubleValidator::StandardNotation);
        setValidator(validator);
    }
}

void NumberEdit::setDigitsUpTo(int maximum)
{
    const QValidator* before = validator();
    setValidator(new DigitsValidator(maximum, this));
    delete before;
}

QVariant NumberEdit::number() const
{
    const QString typed = text().trimmed();
    if (typed.isEmpty())
        return {};
    bool ok = false;
    if (kind_ == Kind::Whole) {
        const qlonglong whole = typed.toLongLong(&ok);
        if (ok)
            return whole;
    } else {
        const double value = typed.toDouble(&ok);
        if (ok && std::isfinite(value))
            return value;
    }
    return text();
}

void NumberEdit::setNumber(const QVariant& value)
{
    setText(value.isNull() ? QString() : value.toString());
}

TextLimit::TextLimit(int characters, QLineEdit* edit)
    : QValidator(edit)
    , characters_(characters)
    , held_(edit->text())
{
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) { held_ = text; });
}

QValidator::State TextLimit::validate(QString& input, int&) const
{
    // Measured against what the field held before: a stored text over the limit can still be
    // shortened, and a NUL already stored does not block every other key.
    if (input.count(QChar(0)) > held_.count(QChar(0)))
        return Invalid;
    const int length = characterCount(input);
    if (length <= characters_)
        return Acceptable;
    return length < characterCount(held_) ? Intermediate : Invalid;
}
