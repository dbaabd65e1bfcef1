#pragma once

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QValidator>
#include <QVariant>

// A drop-down list that shows items and stores a value for each ("com1" stores 0).
class ChoiceBox : public QComboBox {
    Q_OBJECT
    Q_PROPERTY(QVariant value READ value WRITE setValue USER true)
public:
    using QComboBox::QComboBox;
    QVariant value() const;
    void setValue(const QVariant& value);
};

// A date bound to a day count; an empty field shows blank and an emptied date stores empty.
// Typing into an empty field takes the date typed, section by section as the toolkit edits dates;
// sections left untyped take today's. Delete empties the field.
class DayCountEdit : public QDateEdit {
    Q_OBJECT
    Q_PROPERTY(QVariant dayCount READ dayCount WRITE setDayCount USER true)
public:
    explicit DayCountEdit(QWidget* parent = nullptr);
    QVariant dayCount() const;
    void setDayCount(const QVariant& days);
    // Ends typing into an empty field: the sections not typed show today's, as they are stored.
    void finishTyping();

signals:
    // The desk changed the date (typed, stepped, picked or emptied), not a row being shown.
    void edited();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void startTyping();
    QDate typedDate() const;

    bool showing_ = false;
    bool typing_ = false;
    bool advanced_ = false;
    QDateTimeEdit::Sections typed_;
};

// A number field. Its value is empty for an empty field and the number for a number; any other
// text (a lone "-", "1e", a pasted page) stays the text it is, which the table store refuses for a
// number field with a message naming it, instead of storing it or reading it as 0.
class NumberEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(QVariant number READ number WRITE setNumber USER true)
public:
    enum class Kind { Whole, Decimal };
    explicit NumberEdit(Kind kind, QWidget* parent = nullptr);
    // Digits only, from 0 to maximum: anything else is refused as it is typed.
    void setDigitsUpTo(int maximum);

    QVariant number() const;
    void setNumber(const QVariant& value);

private:
    Kind kind_;
};

// Refuses, as it is typed or pasted, a text longer than a number of characters (a surrogate pair
// is one, as the store counts) or holding a NUL, which the store would not keep either.
class TextLimit : public QValidator {
    Q_OBJECT
public:
    TextLimit(int characters, QLineEdit* edit);
    int characters() const { return characters_; }
    State validate(QString& input, int& pos) const override;

private:
    int characters_;
    QString held_; // the field's text before the edit being validated
};
