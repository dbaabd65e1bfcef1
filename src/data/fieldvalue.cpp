#include "data/fieldvalue.h"

#include "data/daycount.h"

#include <cmath>

bool FieldValue::isEmpty() const
{
    return value_.isNull() || (value_.typeId() == QMetaType::QString && value_.toString().isEmpty());
}

qint64 FieldValue::asLargeInt() const
{
    if (value_.isNull())
        return 0;
    switch (value_.typeId()) {
    case QMetaType::Double: return qint64(value_.toDouble());
    case QMetaType::QString: {
        const QString s = value_.toString().trimmed();
        if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return 1;
        bool ok = false;
        const double d = s.toDouble(&ok);
        return ok ? qint64(d) : 0;
    }
    default: return value_.toLongLong();
    }
}

int FieldValue::asInteger() const
{
    return int(asLargeInt());
}

double FieldValue::asFloat() const
{
    return value_.isNull() ? 0.0 : value_.toDouble();
}

QString FieldValue::asString() const
{
    return value_.isNull() ? QString() : value_.toString();
}

bool FieldValue::asBoolean() const
{
    if (value_.isNull())
        return false;
    if (value_.typeId() == QMetaType::QString) {
        const QString s = value_.toString().trimmed();
        if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 || s.isEmpty())
            return false;
        return s.toDouble() != 0.0;
    }
    return value_.toDouble() != 0.0;
}

QDate FieldValue::asDate() const
{
    return DayCount::toDate(std::floor(asFloat()));
}

QVariant storable(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QDate: return double(DayCount::fromDate(value.toDate()));
    case QMetaType::QDateTime: return DayCount::fromDateTime(value.toDateTime());
    case QMetaType::Bool: return value.toBool() ? 1 : 0;
    default: return value;
    }
}

int characterCount(QStringView text)
{
    int count = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++count)
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
    return count;
}
