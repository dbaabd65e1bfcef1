#include "billing/calculator.h"

#include <cmath>

namespace Calculator {
namespace {

class Parser {
public:
    explicit Parser(const QString& text)
        : text_(text)
    {
        text_.remove(QLatin1Char(' '));
        text_.replace(QLatin1Char(','), QLatin1Char('.'));
    }

    std::optional<double> parse()
    {
        const std::optional<double> value = sum();
        if (!value || pos_ != text_.size() || !std::isfinite(*value))
            return std::nullopt;
        return value;
    }

private:
    QChar peek() const { return pos_ < text_.size() ? text_[pos_] : QChar(); }

    std::optional<double> sum()
    {
        std::optional<double> left = product();
        while (left && (peek() == QLatin1Char('+') || peek() == QLatin1Char('-'))) {
            const bool plus = text_[pos_++] == QLatin1Char('+');
            const std::optional<double> right = product();
            if (!right)
                return std::nullopt;
            left = plus ? *left + *right : *left - *right;
        }
        return left;
    }

    std::optional<double> product()
    {
        std::optional<double> left = factor();
        while (left && (peek() == QLatin1Char('*') || peek() == QLatin1Char('/'))) {
            const bool times = text_[pos_++] == QLatin1Char('*');
            const std::optional<double> right = factor();
            if (!right || (!times && *right == 0))
                return std::nullopt;
            left = times ? *left * *right : *left / *right;
        }
        return left;
    }

    std::optional<double> factor()
    {
        if (peek() == QLatin1Char('-') || peek() == QLatin1Char('+')) {
            const bool minus = text_[pos_++] == QLatin1Char('-');
            const std::optional<double> value = factor();
            return value ? std::optional<double>(minus ? -*value : *value) : std::nullopt;
        }
        if (peek() == QLatin1Char('(')) {
            ++pos_;
            const std::optional<double> value = sum();
            if (!value || peek() != QLatin1Char(')'))
                return std::nullopt;
            ++pos_;
            return value;
        }
        const qsizetype start = pos_;
        while (peek().isDigit() || peek() == QLatin1Char('.'))
            ++pos_;
        bool ok = false;
        const double value = text_.mid(start, pos_ - start).toDouble(&ok);
        return ok ? std::optional<double>(value) : std::nullopt;
    }

    QString text_;
    qsizetype pos_ = 0;
};

} // namespace

std::optional<double> evaluate(const QString& expression)
{
    return Parser(expression).parse();
}

} // namespace Calculator
