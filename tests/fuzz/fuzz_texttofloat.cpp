// The dialog's conversion of a typed text on any input, under a few decimal
// separators: it returns or throws ConvertError, and a value it accepts comes
// back bit for bit from the text of its nine significant digits.

#include "fuzzcheck.h"
#include "model/texttofloat.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// The first byte of an input picks one; "" admits integers only.
constexpr std::string_view Separators[] = { ".", ",", "", "\u066B" };

// digits "E" exponent, without a separator: "%.8e" with its point taken out.
std::string Unseparated(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.8e", value);
    std::string digits(text);
    const auto point = digits.find('.');
    const auto exponent = digits.find('e');
    const int power = std::atoi(digits.c_str() + exponent + 1) - 8;
    return digits.substr(0, point) + digits.substr(point + 1, exponent - point - 1) + "E"
        + std::to_string(power);
}

// "%.9g" with separator in place of the point.
std::string Separated(float value, std::string_view separator)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    std::string result(text);
    const auto point = result.find('.');
    if (point != std::string::npos)
        result.replace(point, 1, separator);
    return result;
}

bool SameBits(float a, float b)
{
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view separator = Separators[data[0] % std::size(Separators)];
    const std::string_view text(reinterpret_cast<const char *>(data) + 1, size - 1);
    float value;
    try {
        value = TextToFloat(text, separator);
    } catch (const ConvertError &) {
        return 0;
    }
    FuzzRequire(std::isfinite(value), "an accepted value is finite");
    FuzzRequire(SameBits(TextToFloat(Unseparated(value), separator), value),
        "digits and exponent convert back to the same value");
    if (!separator.empty())
        FuzzRequire(SameBits(TextToFloat(Separated(value, separator), separator), value),
            "nine digits with the separator convert back to the same value");
    return 0;
}
