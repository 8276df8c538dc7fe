#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

// A text that is not a number; the window that took it names it to the user.
class ConvertError : public std::invalid_argument
{
public:
    explicit ConvertError(std::string_view text);
    const std::string &Text() const { return m_text; }

private:
    std::string m_text;
};

// A number as the user types it: optional blanks, an optional sign, decimal
// digits with at most one decimalSeparator among them (at least one digit),
// an optional exponent ("E" or "e", an optional sign, digits), optional
// blanks. No digit grouping, no "inf", "nan" or hexadecimal; an empty
// separator admits integers only. Throws ConvertError otherwise, and for a
// value beyond the float range, since the parameters are floats; a value too
// small for a float is no error and comes out as 0 or a subnormal.
float TextToFloat(std::string_view text, std::string_view decimalSeparator);
