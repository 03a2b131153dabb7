#pragma once

#include <QValidator>

// Lets a text box hold only a decimal number that rounds (halves to even) into a 16-bit integer,
// or the start of one: nothing, a sign, a point.
class Int16Validator final : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};
