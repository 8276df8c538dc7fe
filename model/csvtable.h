#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// Columns of numbers to write as CSV. A header names the quantity and its
// unit, joined by "_": "t_s", "v_m_per_s". A column shorter than the longest
// leaves its cells below its end empty: curves of one chart may run for
// different times.
class CsvTable
{
public:
    // The times of samples taken every step, written as SampleTimeText does.
    struct SampleTimes
    {
        float step = 0; // s
        std::vector<std::size_t> indices; // the samples written; empty: 0 ... count - 1
        std::size_t count = 0;

        std::size_t size() const { return indices.empty() ? count : indices.size(); }
        std::size_t Index(std::size_t row) const { return indices.empty() ? row : indices[row]; }
    };

    // Columns that keep their values: a float column is written as the float
    // it holds, a double column as the double.
    void AddColumn(std::string header, std::vector<float> values);
    void AddColumn(std::string header, std::vector<double> values);
    // A column read in place when the table is written, for series too large
    // to copy: values must outlive the table.
    void AddColumnInPlace(std::string header, std::span<const float> values);
    // The times of samples 0 ... count - 1, or of the samples indices.
    void AddSampleTimes(std::string header, std::size_t count, float step);
    void AddSampleTimes(std::string header, std::vector<std::size_t> indices, float step);
    // Keeps owner alive with the table: what a column reads in place may be
    // given up by its window while a file dialog is open.
    void HoldOwner(std::shared_ptr<const void> owner);

    // The length of the longest column.
    std::size_t RowCount() const;

    struct Column
    {
        std::string header;
        std::variant<std::vector<float>, std::vector<double>, std::span<const float>, SampleTimes>
            values;
    };
    const std::vector<Column> &Columns() const { return m_columns; }
    void AddColumn(Column column);

private:
    std::vector<Column> m_columns;
    std::vector<std::shared_ptr<const void>> m_owners;
};

// How the fields are written: the program's own format, or the one a
// spreadsheet of the user's language reads (";" and the decimal comma).
struct CsvStyle
{
    char separator = ',';
    std::string decimalPoint = ".";
};

// The time of sample i taken every step: i × step with as many decimals as
// the step's shortest form has, so that a step of 0.01 gives "0.27" where the
// float product reads 0.26999998, and "0.00" for sample 0. The product is
// taken on the step's decimal digits, free of rounding. A step that is no
// number gives the float product.
class SampleTimeText
{
public:
    explicit SampleTimeText(float step);
    void Append(std::string &text, std::size_t index, std::string_view decimalPoint) const;

private:
    float m_step;
    // A finite step is ±m_mantissa × 10^m_exponent: 0.015f is 15 × 10^-3.
    bool m_negative = false;
    std::uint64_t m_mantissa = 0; // at most 9 digits, those of a float
    int m_exponent = 0;
};

using CsvWriter = std::function<bool(std::string_view piece)>;

// Hands rows gathered in piece to write once they fill about 64 KiB, a write
// for many rows, and empties it; false when write fails.
bool PassFullPiece(std::string &piece, const CsvWriter &write);

// Writes the headers, then one line per row; each number in the shortest form
// that reads back to the same value ("0.01", "1e-05"), zero without a sign,
// "nan", "inf", "-inf" for the values that are no numbers; sample times in
// fixed notation ("0.00", "0.27"). The text goes to write in pieces; returns
// false as soon as write does.
bool WriteCsv(const CsvTable &table, const CsvStyle &style, const CsvWriter &write);
