#include "model/csvtable.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace {

std::size_t length(const CsvTable::Column &column)
{
    return std::visit([](const auto &values) { return values.size(); }, column.values);
}

// A finite step as ±mantissa × 10^exponent, the mantissa the digits of its
// shortest form: 0.015f is 15 × 10^-3, 20.f is 2 × 10^1. Sample times are
// whole multiples of the mantissa, free of the float product's rounding.
struct DecimalStep
{
    bool negative = false;
    std::uint64_t mantissa = 0; // at most 9 digits, those of a float
    int exponent = 0;
};

DecimalStep decimalStep(float step)
{
    char text[32];
    const char *end
        = std::to_chars(text, text + sizeof text, step, std::chars_format::scientific).ptr;
    DecimalStep decimal;
    const char *c = text;
    decimal.negative = *c == '-';
    c += decimal.negative;
    int fractionDigits = 0;
    bool inFraction = false;
    for (; *c != 'e'; ++c) {
        if (*c == '.') {
            inFraction = true;
            continue;
        }
        decimal.mantissa = decimal.mantissa * 10 + std::uint64_t(*c - '0');
        fractionDigits += inFraction;
    }
    ++c;
    c += *c == '+'; // from_chars takes a "-" only
    std::from_chars(c, end, decimal.exponent);
    decimal.exponent -= fractionDigits;
    return decimal;
}

// A column's values, read one row after the other.
struct Cells
{
    const float *floats = nullptr;
    const double *doubles = nullptr;
    const CsvTable::SampleTimes *times = nullptr;
    DecimalStep step; // of times
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
        cells.step = decimalStep(times->step);
    } else {
        cells.floats = std::get<std::span<const float>>(column.values).data();
    }
    return cells;
}

// value in its shortest form, the decimal point as style has it.
template <typename Value> void appendNumber(std::string &text, Value value, const CsvStyle &style)
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
            text += style.decimalPoint;
        else
            text += *c;
    }
}

// The time of sample index in fixed notation with the step's decimals:
// "0.27" for sample 27 of 0.01, "40" for sample 2 of 20.
void appendSampleTime(
    std::string &text, std::size_t index, const DecimalStep &step, const CsvStyle &style)
{
    const std::uint64_t multiple = index * step.mantissa;
    char digits[24];
    const std::size_t length
        = std::size_t(std::to_chars(digits, digits + sizeof digits, multiple).ptr - digits);
    if (step.negative && multiple != 0)
        text += '-';
    if (step.exponent >= 0) {
        text.append(digits, length);
        if (multiple != 0)
            text.append(std::size_t(step.exponent), '0');
        return;
    }
    const std::size_t decimals = std::size_t(-step.exponent);
    const std::size_t whole = length > decimals ? length - decimals : 0;
    if (whole == 0)
        text += '0';
    text.append(digits, whole);
    text += style.decimalPoint;
    text.append(decimals - (length - whole), '0');
    text.append(digits + whole, length - whole);
}

} // namespace

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
            if (const CsvTable::SampleTimes *times = columns[c].times) {
                const std::size_t index = times->Index(row);
                // A step that is no number leaves nothing to write exactly.
                if (std::isfinite(times->step))
                    appendSampleTime(piece, index, columns[c].step, style);
                else
                    appendNumber(piece, static_cast<float>(index * double(times->step)), style);
            } else if (columns[c].doubles)
                appendNumber(piece, columns[c].doubles[row], style);
            else
                appendNumber(piece, columns[c].floats[row], style);
        }
        piece += '\n';
        if (!PassFullPiece(piece, write))
            return false;
    }
    return piece.empty() || write(piece);
}
