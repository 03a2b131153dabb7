#include "windows/Int16Validator.h"

#include <QRegularExpression>

#include "core/Rounding.h"

QValidator::State Int16Validator::validate(QString& input, int& /*pos*/) const {
    static const QRegularExpression decimal(QStringLiteral(R"(^\s*[+-]?[0-9]*\.?[0-9]*\s*$)"));
    static const QRegularExpression digit(QStringLiteral("[0-9]"));
    if (!decimal.match(input).hasMatch()) return Invalid;
    if (parseInteger<int16_t>(input)) return Acceptable;
    // Digits that make no 16-bit number: more typing cannot bring them into range.
    return input.contains(digit) ? Invalid : Intermediate;
}
