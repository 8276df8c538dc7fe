#include "model/numberformat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int MaxSignificantDigits = 17; // all a double holds
constexpr int MaxDecimals = 18;
constexpr int MaxExponentDigits = 4;

// |value| rounded to a number of significant digits: digits[0].digits[1...]
// times 10^exponent, trailing zeros dropped. Zero is "0" with exponent 0.
struct Decimal
{
    std::string digits;
    int exponent = 0;
    bool isZero() const { return digits == "0"; }
};

Decimal reduce(double magnitude, int significantDigits)
{
    // to_chars rounds the exact binary value correctly and ignores the locale.
    char text[64];
    const auto result = std::to_chars(
        text, text + sizeof text, magnitude, std::chars_format::scientific, significantDigits - 1);
    const std::string_view written(text, result.ptr - text);
    const auto e = written.find('e');

    Decimal decimal;
    for (char c : written.substr(0, e)) {
        if (c != '.')
            decimal.digits += c;
    }
    decimal.exponent = std::atoi(std::string(written.substr(e + 1)).c_str());
    const auto last = decimal.digits.find_last_not_of('0');
    decimal.digits.erase(last == std::string::npos ? 1 : last + 1);
    if (decimal.isZero())
        decimal.exponent = 0;
    return decimal;
}

// The reduced value's digits before and after the decimal point.
void splitFixed(const Decimal &decimal, std::string &whole, std::string &fraction)
{
    if (decimal.exponent >= 0) {
        const auto wholeCount = static_cast<std::size_t>(decimal.exponent) + 1;
        whole = decimal.digits.substr(0, wholeCount);
        whole.append(wholeCount - whole.size(), '0');
        fraction = decimal.digits.size() > wholeCount ? decimal.digits.substr(wholeCount) : "";
    } else {
        whole = "0";
        fraction = std::string(-decimal.exponent - 1, '0') + decimal.digits;
    }
}

const char *nonFinite(double value)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    return nullptr;
}

std::string grouped(const std::string &whole, const std::string &separator)
{
    std::string text;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0)
            text += separator;
        text += whole[i];
    }
    return text;
}

// Rounds the digit string whole.fraction to `decimals` fraction digits, half
// away from zero, padding with zeros.
void roundFraction(std::string &whole, std::string &fraction, std::size_t decimals)
{
    if (fraction.size() <= decimals) {
        fraction.append(decimals - fraction.size(), '0');
        return;
    }
    const bool up = fraction[decimals] >= '5';
    fraction.erase(decimals);
    if (!up)
        return;
    std::string digits = whole + fraction;
    int i = static_cast<int>(digits.size()) - 1;
    for (; i >= 0 && digits[i] == '9'; --i)
        digits[i] = '0';
    if (i >= 0)
        ++digits[i];
    else
        digits.insert(digits.begin(), '1');
    whole = digits.substr(0, digits.size() - decimals);
    fraction = digits.substr(digits.size() - decimals);
}

} // namespace

std::string FormatGeneralStyle(
    double value, int significantDigits, int exponentDigits, const NumberSeparators &separators)
{
    if (const char *text = nonFinite(value))
        return text;
    const int precision = std::clamp(significantDigits, 1, MaxSignificantDigits);
    const int padding = std::clamp(exponentDigits, 0, MaxExponentDigits);
    const Decimal decimal = reduce(std::abs(value), precision);
    if (decimal.isZero())
        return "0";

    std::string text = value < 0 ? "-" : "";
    if (decimal.exponent >= -4 && decimal.exponent < precision) {
        std::string whole, fraction;
        splitFixed(decimal, whole, fraction);
        text += whole;
        if (!fraction.empty())
            text += separators.decimal + fraction;
        return text;
    }
    text += decimal.digits.substr(0, 1);
    if (decimal.digits.size() > 1)
        text += separators.decimal + decimal.digits.substr(1);
    text += 'E';
    if (decimal.exponent < 0)
        text += '-';
    const std::string exponent = std::to_string(std::abs(decimal.exponent));
    text += std::string(std::max<std::size_t>(padding, exponent.size()) - exponent.size(), '0');
    return text + exponent;
}

std::string FormatNumberStyle(
    double value, int significantDigits, int decimals, const NumberSeparators &separators)
{
    if (const char *text = nonFinite(value))
        return text;
    const int precision = std::clamp(significantDigits, 1, MaxSignificantDigits);
    const auto fractionDigits = static_cast<std::size_t>(std::clamp(decimals, 0, MaxDecimals));
    const Decimal decimal = reduce(std::abs(value), precision);
    if (decimal.exponent + 1 > precision)
        return FormatGeneralStyle(value, precision, 0, separators);

    std::string whole, fraction;
    splitFixed(decimal, whole, fraction);
    roundFraction(whole, fraction, fractionDigits);
    const bool allZero = (whole + fraction).find_first_not_of('0') == std::string::npos;

    std::string text = value < 0 && !allZero ? "-" : "";
    text += grouped(whole, separators.grouping);
    if (fractionDigits > 0)
        text += separators.decimal + fraction;
    return text;
}
