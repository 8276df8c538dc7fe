#pragma once

#include <string>

// The user's separators, as UTF-8 text (for example "," and "\u00A0").
struct NumberSeparators
{
    std::string decimal = ".";
    std::string grouping = ","; // empty: no digit grouping
};

// Number style: value reduced to significantDigits (1 ... 17) significant
// digits, then written in fixed-point notation with digit groups of three and
// exactly `decimals` (0 ... 18) digits after the decimal separator; the
// second rounding is half away from zero on the reduced digits. A value with
// more than significantDigits digits before the separator is written in the
// general style instead, without exponent padding ("1,2346E5"). A result
// whose digits are all zero carries no minus sign.
std::string FormatNumberStyle(
    double value, int significantDigits, int decimals, const NumberSeparators &separators);

// General style: value reduced to significantDigits (1 ... 17) significant
// digits and written in the shortest form, trailing zeros and an unneeded
// decimal separator dropped, without digit grouping. Fixed-point notation for
// 0 and for magnitudes from 0.0001 up to (not including) 10^significantDigits,
// judged after the reduction; otherwise mantissa, "E", "-" for a negative
// exponent and the exponent padded with zeros to at least exponentDigits
// (0 ... 4) digits ("1E-05").
std::string FormatGeneralStyle(
    double value, int significantDigits, int exponentDigits, const NumberSeparators &separators);

// Both styles write NaN as "NAN" and infinities as "INF" and "-INF".
