#pragma once

#include <QComboBox>
#include <QDateEdit>
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
class DayCountEdit : public QDateEdit {
    Q_OBJECT
    Q_PROPERTY(QVariant dayCount READ dayCount WRITE setDayCount USER true)
public:
    explicit DayCountEdit(QWidget* parent = nullptr);
    QVariant dayCount() const;
    void setDayCount(const QVariant& days);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
