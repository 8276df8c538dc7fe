#include "texttofloat.h"

#include "clocale.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads the text left to right, building the same number with "." for strtof.
class NumberScanner
{
public:
    explicit NumberScanner(std::string_view text)
        : m_text(text)
    {
    }

    bool atEnd() const { return m_position == m_text.size(); }

    void skipBlanks()
    {
        while (!atEnd() && isBlank(m_text[m_position]))
            ++m_position;
    }

    // Copies the character when it is one of those given.
    bool take(std::string_view accepted)
    {
        if (atEnd() || accepted.find(m_text[m_position]) == std::string_view::npos)
            return false;
        m_number += m_text[m_position++];
        return true;
    }

    // Replaces the separator with ".".
    bool takeSeparator(std::string_view separator)
    {
        if (separator.empty() || !m_text.substr(m_position).starts_with(separator))
            return false;
        m_position += separator.size();
        m_number += '.';
        return true;
    }

    // The count of digits copied.
    int takeDigits()
    {
        int count = 0;
        while (!atEnd() && isDigit(m_text[m_position])) {
            m_number += m_text[m_position++];
            ++count;
        }
        return count;
    }

    const std::string &number() const { return m_number; }

private:
    std::string_view m_text;
    std::size_t m_position = 0;
    std::string m_number;
};

} // namespace

ConvertError::ConvertError(std::string_view text)
    : std::invalid_argument("'" + std::string(text) + "' is not a valid floating point value")
{
}

float TextToFloat(std::string_view text, std::string_view decimalSeparator)
{
    NumberScanner scanner(text);
    scanner.skipBlanks();
    scanner.take("+-");
    int mantissaDigits = scanner.takeDigits();
    if (scanner.takeSeparator(decimalSeparator))
        mantissaDigits += scanner.takeDigits();
    if (mantissaDigits == 0)
        throw ConvertError(text);
    if (scanner.take("eE")) {
        scanner.take("+-");
        if (scanner.takeDigits() == 0)
            throw ConvertError(text);
    }
    scanner.skipBlanks();
    if (!scanner.atEnd())
        throw ConvertError(text);

    // The number is well formed now; strtof rounds it correctly and reports
    // an overflow as an infinity.
    const ScopedCLocale cLocale;
    const float value = std::strtof(scanner.number().c_str(), nullptr);
    if (std::isinf(value))
        throw ConvertError(text);
    return value;
}
