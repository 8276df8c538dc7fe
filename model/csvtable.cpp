#include "model/csvtable.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

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
};

Cells cells(const CsvTable::Column &column)
{
    if (const auto *kept = std::get_if<std::vector<double>>(&column.values))
        return { nullptr, kept->data() };
    if (const auto *kept = std::get_if<std::vector<float>>(&column.values))
        return { kept->data(), nullptr };
    return { std::get<std::span<const float>>(column.values).data(), nullptr };
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
    add({ std::move(header), std::move(values) });
}

void CsvTable::AddColumn(std::string header, std::vector<double> values)
{
    add({ std::move(header), std::move(values) });
}

void CsvTable::AddColumnInPlace(std::string header, std::span<const float> values)
{
    add({ std::move(header), values });
}

std::size_t CsvTable::RowCount() const
{
    return m_columns.empty() ? 0 : length(m_columns.front());
}

void CsvTable::add(Column column)
{
    if (!m_columns.empty() && length(column) != RowCount())
        throw std::invalid_argument("the column " + column.header + " differs in length");
    m_columns.push_back(std::move(column));
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
