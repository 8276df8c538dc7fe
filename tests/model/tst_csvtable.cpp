#include "model/csvtable.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

std::string written(const CsvTable &table, const CsvStyle &style = {})
{
    std::string text;
    const bool done = WriteCsv(table, style, [&text](std::string_view piece) {
        text += piece;
        return true;
    });
    return done ? text : "failed";
}

} // namespace

class CsvTableTest : public QObject
{
    Q_OBJECT

private slots:
    void numbersReadBackToTheSameValue();
    void columnsOfOneLengthOnly();
    void stopsWhenTheWriterFails();
};

void CsvTableTest::numbersReadBackToTheSameValue()
{
    constexpr float infinity = std::numeric_limits<float>::infinity();
    const std::vector<float> inPlace { 1, 2, 3, 4, 5 };
    CsvTable table;
    // 0.01f printed to 9 digits is 0.00999999978; -0 and a NaN's sign are no values.
    table.AddColumn("t_s", std::vector<float> { 0.01f, -0.0f, 1e-5f, 1.f / 3, 16777216.f });
    table.AddColumn("A_m", std::vector<double> { 0.01, -0.0, 1.0 / 3, -std::nan(""), 2.5e300 });
    table.AddColumnInPlace("x_m", inPlace);
    table.AddColumn("F_N", std::vector<float> { -1.5f, infinity, -infinity, 0, 1e20f });
    QCOMPARE(table.RowCount(), std::size_t(5));
    QCOMPARE(written(table),
        "t_s,A_m,x_m,F_N\n0.01,0.01,1,-1.5\n0,0,2,inf\n1e-05,0.3333333333333333,3,-inf\n"
        "0.33333334,nan,4,0\n16777216,2.5e+300,5,1e+20\n");
    // A spreadsheet's: ";" and the language's decimal separator, here a multi-byte one.
    QCOMPARE(written(table, { ';', "\u066b" }),
        "t_s;A_m;x_m;F_N\n0\u066b01;0\u066b01;1;-1\u066b5\n0;0;2;inf\n1e-05;"
        "0\u066b3333333333333333;3;"
        "-inf\n0\u066b33333334;nan;4;0\n16777216;2\u066b5e+300;5;1e+20\n");
}

void CsvTableTest::columnsOfOneLengthOnly()
{
    CsvTable table;
    table.AddColumn("a", std::vector<float> { 1, 2 });
    QVERIFY_THROWS_EXCEPTION(
        std::invalid_argument, table.AddColumn("b", std::vector<double> { 1 }));
    QCOMPARE(table.ColumnCount(), 1);
}

void CsvTableTest::stopsWhenTheWriterFails()
{
    CsvTable table;
    table.AddColumn("t_s", std::vector<double>(100000, 0.125));
    int pieces = 0;
    QVERIFY(!WriteCsv(table, {}, [&pieces](std::string_view) { return ++pieces < 2; }));
    QCOMPARE(pieces, 2);
}

QTEST_APPLESS_MAIN(CsvTableTest)
#include "tst_csvtable.moc"
