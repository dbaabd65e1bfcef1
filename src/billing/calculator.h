#pragma once

#include <QString>

#include <optional>

// The desk's pocket calculator: + - * / with the usual precedence, parentheses and a leading
// sign; '.' or ',' as the decimal point. None for a text that is no complete expression or that
// divides by zero.
namespace Calculator {

std::optional<double> evaluate(const QString& expression);

} // namespace Calculator
