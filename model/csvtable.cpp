#include "model/csvtable.h"

#include <algorithm>
#include <charconv>
#include <cmath>

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
    std::size_t count = 0;
};

Cells cells(const CsvTable::Column &column)
{
    const std::size_t count = length(column);
    if (const auto *kept = std::get_if<std::vector<double>>(&column.values))
        return { nullptr, kept->data(), count };
    if (const auto *kept = std::get_if<std::vector<float>>(&column.values))
        return { kept->data(), nullptr, count };
    return { std::get<std::span<const float>>(column.values).data(), nullptr, count };
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
            if (columns[c].doubles)
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
