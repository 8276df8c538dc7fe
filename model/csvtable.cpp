#include "model/csvtable.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

namespace {

std::size_t length(const CsvTable::Column &column)
{
    return std::visit([](const auto &values) { return values.size(); }, column.values);
}

// A column's values, read one row after the other.
struct Cells
{
    const float *floats = nullptr;
    const double *doubles = nullptr;
    const CsvTable::SampleTimes *times = nullptr;
    std::optional<SampleTimeText> timeText; // of times
    std::size_t count = 0;
};

Cells cells(const CsvTable::Column &column)
{
    Cells cells;
    cells.count = length(column);
    if (const auto *kept = std::get_if<std::vector<double>>(&column.values)) {
        cells.doubles = kept->data();
    } else if (const auto *kept = std::get_if<std::vector<float>>(&column.values)) {
        cells.floats = kept->data();
    } else if (const auto *times = std::get_if<CsvTable::SampleTimes>(&column.values)) {
        cells.times = times;
        cells.timeText.emplace(times->step);
    } else {
        cells.floats = std::get<std::span<const float>>(column.values).data();
    }
    return cells;
}

// value in its shortest form with decimalPoint.
template <typename Value>
void appendNumber(std::string &text, Value value, std::string_view decimalPoint)
{
    if (std::isnan(value)) {
        text += "nan"; // not "-nan"
        return;
    }
    char number[32];
    // -0 would read as a value of its own in a spreadsheet.
    const auto end
        = std::to_chars(number, number + sizeof number, value == 0 ? Value(0) : value).ptr;
    for (const char *c = number; c != end; ++c) {
        if (*c == '.')
            text += decimalPoint;
        else
            text += *c;
    }
}

} // namespace

SampleTimeText::SampleTimeText(float step)
    : m_step(step)
{
    if (!std::isfinite(step))
        return;
    // The shortest form's digits, as "-1.5e-02".
    char text[32];
    const char *end
        = std::to_chars(text, text + sizeof text, step, std::chars_format::scientific).ptr;
    const char *c = text;
    m_negative = *c == '-';
    c += m_negative;
    int fractionDigits = 0;
    bool inFraction = false;
    for (; *c != 'e'; ++c) {
        if (*c == '.') {
            inFraction = true;
            continue;
        }
        m_mantissa = m_mantissa * 10 + std::uint64_t(*c - '0');
        fractionDigits += inFraction;
    }
    ++c;
    c += *c == '+'; // from_chars takes a "-" only
    std::from_chars(c, end, m_exponent);
    m_exponent -= fractionDigits;
}

void SampleTimeText::Append(
    std::string &text, std::size_t index, std::string_view decimalPoint) const
{
    if (!std::isfinite(m_step)) {
        appendNumber(text, static_cast<float>(index * double(m_step)), decimalPoint);
        return;
    }
    const std::uint64_t multiple = index * m_mantissa;
    char digits[24];
    const std::size_t length
        = std::size_t(std::to_chars(digits, digits + sizeof digits, multiple).ptr - digits);
    if (m_negative && multiple != 0)
        text += '-';
    if (m_exponent >= 0) {
        text.append(digits, length);
        if (multiple != 0)
            text.append(std::size_t(m_exponent), '0');
        return;
    }
    const std::size_t decimals = std::size_t(-m_exponent);
    const std::size_t whole = length > decimals ? length - decimals : 0;
    if (whole == 0)
        text += '0';
    text.append(digits, whole);
    text += decimalPoint;
    text.append(decimals - (length - whole), '0');
    text.append(digits + whole, length - whole);
}

void CsvTable::AddColumn(std::string header, std::vector<float> values)
{
    m_columns.push_back({ std::move(header), std::move(values) });
}

void CsvTable::AddColumn(std::string header, std::vector<double> values)
{
    m_columns.push_back({ std::move(header), std::move(values) });
}

void CsvTable::AddColumnInPlace(std::string header, std::span<const float> values)
{
    m_columns.push_back({ std::move(header), values });
}

void CsvTable::AddSampleTimes(std::string header, std::size_t count, float step)
{
    m_columns.push_back({ std::move(header), SampleTimes { step, {}, count } });
}

void CsvTable::AddSampleTimes(std::string header, std::vector<std::size_t> indices, float step)
{
    m_columns.push_back({ std::move(header), SampleTimes { step, std::move(indices), 0 } });
}

void CsvTable::AddColumn(Column column)
{
    m_columns.push_back(std::move(column));
}

void CsvTable::HoldOwner(std::shared_ptr<const void> owner)
{
    m_owners.push_back(std::move(owner));
}

std::size_t CsvTable::RowCount() const
{
    std::size_t rows = 0;
    for (const Column &column : m_columns)
        rows = std::max(rows, length(column));
    return rows;
}

bool PassFullPiece(std::string &piece, const CsvWriter &write)
{
    if (piece.size() < (1 << 16))
        return true;
    const bool written = write(piece);
    piece.clear();
    return written;
}

bool WriteCsv(const CsvTable &table, const CsvStyle &style, const CsvWriter &write)
{
    std::string piece;
    std::vector<Cells> columns;
    for (const CsvTable::Column &column : table.Columns()) {
        if (!columns.empty())
            piece += style.separator;
        piece += column.header;
        columns.push_back(cells(column));
    }
    piece += '\n';
    for (std::size_t row = 0; row < table.RowCount(); ++row) {
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (c > 0)
                piece += style.separator;
            if (row >= columns[c].count)
                continue;
            if (const CsvTable::SampleTimes *times = columns[c].times)
                columns[c].timeText->Append(piece, times->Index(row), style.decimalPoint);
            else if (columns[c].doubles)
                appendNumber(piece, columns[c].doubles[row], style.decimalPoint);
            else
                appendNumber(piece, columns[c].floats[row], style.decimalPoint);
        }
        piece += '\n';
        if (!PassFullPiece(piece, write))
            return false;
    }
    return piece.empty() || write(piece);
}
