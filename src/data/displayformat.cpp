#include "data/displayformat.h"

#include "data/daycount.h"
#include "data/session.h"

#include <QLocale>

#include <cmath>

namespace DisplayFormat {
namespace {

int decimals()
{
    switch (Session::Nachkommafaktor) {
    case 1: return 0;
    case 10: return 1;
    default: return 2;
    }
}

// Fixed decimals with the thousands grouped, in the system's separators: "1,234.50" in English,
// "1.234,50" in German.
QString grouped(double amount, int places)
{
    const QLocale locale;
    const QString plain = QString::number(std::fabs(amount), 'f', places);
    const qsizetype point = plain.indexOf(QLatin1Char('.'));
    QString whole = point < 0 ? plain : plain.left(point);
    for (qsizetype i = whole.size() - 3; i > 0; i -= 3)
        whole.insert(i, locale.groupSeparator());
    // A value that rounds to zero shows no minus sign.
    const bool negative = amount < 0 && plain.toDouble() != 0.0;
    return (negative ? QStringLiteral("-") : QString()) + whole +
           (point < 0 ? QString() : locale.decimalPoint() + plain.mid(point + 1));
}

QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

} // namespace

QString money(double amount)
{
    const int places = decimals();
    const QString text = grouped(amount, places);
    // The positive sections of ",0 " and ",0.00 " end in a blank; ",0.0" does not.
    if (text.startsWith(QLatin1Char('-')) || places == 1)
        return text;
    return text + QLatin1Char(' ');
}

QString receiptMoney(double amount)
{
    return grouped(amount, decimals());
}

QString fixed(double amount, int places)
{
    return grouped(amount, places);
}

QString general(double value)
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(value, 'g', 15);
}

QString dateFormat()
{
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    // Two-digit years are ambiguous at a desk that keeps accounts for years.
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

QString date(double dayCount)
{
    if (dayCount == 0)
        return {};
    return QLocale().toString(DayCount::toDate(std::floor(dayCount)), dateFormat());
}

QString dateTime(double moment)
{
    if (moment == 0)
        return {};
    const QTime time = DayCount::toDateTime(moment).time();
    if (time == QTime(0, 0))
        return date(moment);
    return date(moment) + QLatin1Char(' ') + QLocale().toString(time, QLocale::ShortFormat);
}

namespace {

// The system's long time format without its time zone: the desk reads when, not where.
QString longTimeFormat()
{
    const QString format = QLocale().timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        out.append(c);
    }
    return out.simplified();
}

} // namespace

QString dateLongTime(double moment)
{
    if (moment == 0)
        return {};
    const QTime time = DayCount::toDateTime(moment).time();
    if (time == QTime(0, 0))
        return date(moment);
    return date(moment) + QLatin1Char(' ') + QLocale().toString(time, longTimeFormat());
}

QString amPmTime(double moment)
{
    const QTime time = DayCount::toDateTime(moment).time();
    const int h = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    return QStringLiteral("%1:%2 %3")
        .arg(twoDigits(h), twoDigits(time.minute()),
             time.hour() < 12 ? QStringLiteral("am") : QStringLiteral("pm"));
}

QString logical(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace DisplayFormat
