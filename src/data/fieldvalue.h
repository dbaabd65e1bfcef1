#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

// A field as read from the store. An empty field reads as 0, 0.0, false, "" or the timestamp 0;
// callers rely on it (the highest number of an empty table reads as 0).
class FieldValue {
public:
    FieldValue() = default;
    explicit FieldValue(QVariant value)
        : value_(std::move(value))
    {
    }

    bool isEmpty() const;
    int asInteger() const;
    qint64 asLargeInt() const;
    double asFloat() const;
    QString asString() const;
    // Also reads the texts "True" and "False" that data-bound check boxes store.
    bool asBoolean() const;
    double asDateTime() const { return asFloat(); }
    QDate asDate() const;
    const QVariant& variant() const { return value_; }

private:
    QVariant value_;
};

// A value as the store takes it: dates and date-times become day counts.
QVariant storable(const QVariant& value);

// Characters as the store counts them (SQLite's length): a surrogate pair is one character, where a
// UTF-16 length would count two and a cut at it would leave half an emoji.
int characterCount(QStringView text);
