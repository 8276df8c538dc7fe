#include "model/csvtable.h"

#include <QTest>

#include <cmath>
#include <limits>

class CsvTableTest : public QObject
{
    Q_OBJECT

private slots:
    void numbersReadBackToTheSameValue();
};

void CsvTableTest::numbersReadBackToTheSameValue()
{
    constexpr float infinity = std::numeric_limits<float>::infinity();
    CsvTable table;
    // 0.01f printed to 9 digits is 0.00999999978; -0 and a NaN's sign are no values.
    table.AddColumn("t_s", std::vector<float> { 0.01f, -0.0f, 1e-5f, 1.f / 3, 16777216.f });
    // Shorter curves, before a longer one and last: empty cells below their ends.
    table.AddColumn("v_m_per_s", std::vector<double> { 2 });
    table.AddColumn("A_m", std::vector<double> { 0.01, -0.0, 1.0 / 3, -std::nan(""), 2.5e300 });
    table.AddColumn("F_N", std::vector<float> { -1.5f, infinity, -infinity, 0, 1e20f });
    table.AddColumn("x_m", std::vector<float> { 0.5f });
    const auto written = [&table](const CsvStyle &style) {
        std::string text;
        WriteCsv(table, style, [&text](std::string_view piece) {
            text += piece;
            return true;
        });
        return text;
    };
    QCOMPARE(written({}),
        "t_s,v_m_per_s,A_m,F_N,x_m\n0.01,2,0.01,-1.5,0.5\n0,,0,inf,\n"
        "1e-05,,0.3333333333333333,-inf,\n0.33333334,,nan,0,\n16777216,,2.5e+300,1e+20,\n");
    // A spreadsheet's: ";" and the language's decimal separator, here a multi-byte one.
    QCOMPARE(written({ ';', "\u066b" }),
        "t_s;v_m_per_s;A_m;F_N;x_m\n0\u066b01;2;0\u066b01;-1\u066b5;0\u066b5\n0;;0;inf;\n"
        "1e-05;;0\u066b3333333333333333;-inf;\n0\u066b33333334;;nan;0;\n"
        "16777216;;2\u066b5e+300;1e+20;\n");
}

QTEST_APPLESS_MAIN(CsvTableTest)
#include "tst_csvtable.moc"
