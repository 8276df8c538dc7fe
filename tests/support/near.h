#pragma once

#include <cmath>

// How far a computed value may lie from the expected one: a fixed amount,
// and a share of the expected value's size.
struct Tolerance
{
    double absolute = 0;
    double relative = 0;
};

// The one float comparison of the tests, with its tolerance said where it is used.
inline bool Near(double actual, double expected, Tolerance tolerance)
{
    return std::abs(actual - expected)
        <= tolerance.absolute + tolerance.relative * std::abs(expected);
}
