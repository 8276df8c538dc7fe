#include "model/texttofloat.h"

#include "model/clocale.h"

#include <cmath>
#include <cstdlib>
#include <string>

ConvertError::ConvertError(std::string_view text)
    : std::invalid_argument("not a floating point value")
    , m_text(text)
{ }

float TextToFloat(std::string_view text, std::string_view decimalSeparator)
{
    // Read left to right, building the same number with "." for strtof.
    std::string number;
    std::size_t at = 0;
    const auto skipBlanks = [&] {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
            ++at;
    };
    const auto take = [&](std::string_view accepted) {
        if (at == text.size() || accepted.find(text[at]) == std::string_view::npos)
            return false;
        number += text[at++];
        return true;
    };
    const auto takeDigits = [&] {
        int count = 0;
        while (take("0123456789"))
            ++count;
        return count;
    };

    skipBlanks();
    take("+-");
    int mantissaDigits = takeDigits();
    if (!decimalSeparator.empty() && text.substr(at).starts_with(decimalSeparator)) {
        at += decimalSeparator.size();
        number += '.';
        mantissaDigits += takeDigits();
    }
    bool wellFormed = mantissaDigits > 0;
    if (wellFormed && take("eE")) {
        take("+-");
        wellFormed = takeDigits() > 0;
    }
    skipBlanks();
    if (!wellFormed || at != text.size())
        throw ConvertError(text);

    // strtof rounds correctly and reports an overflow as an infinity.
    const ScopedCLocale cLocale;
    const float value = std::strtof(number.c_str(), nullptr);
    if (std::isinf(value))
        throw ConvertError(text);
    return value;
}
