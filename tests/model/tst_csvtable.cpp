#include "model/csvtable.h"

#include <QTest>

#include <cmath>
#include <limits>

class CsvTableTest : public QObject
{
    Q_OBJECT

private slots:
    void numbersReadBackToTheSameValue();
    void sampleTimesHaveTheStepsDecimals_data();
    void sampleTimesHaveTheStepsDecimals();
};

namespace {

std::string written(const CsvTable &table, const CsvStyle &style)
{
    std::string text;
    WriteCsv(table, style, [&text](std::string_view piece) {
        text += piece;
        return true;
    });
    return text;
}

} // namespace

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
    QCOMPARE(written(table, {}),
        "t_s,v_m_per_s,A_m,F_N,x_m\n0.01,2,0.01,-1.5,0.5\n0,,0,inf,\n"
        "1e-05,,0.3333333333333333,-inf,\n0.33333334,,nan,0,\n16777216,,2.5e+300,1e+20,\n");
    // A spreadsheet's: ";" and the language's decimal separator, here a multi-byte one.
    QCOMPARE(written(table, { ';', "\u066b" }),
        "t_s;v_m_per_s;A_m;F_N;x_m\n0\u066b01;2;0\u066b01;-1\u066b5;0\u066b5\n0;;0;inf;\n"
        "1e-05;;0\u066b3333333333333333;-inf;\n0\u066b33333334;;nan;0;\n"
        "16777216;;2\u066b5e+300;1e+20;\n");
}

void CsvTableTest::sampleTimesHaveTheStepsDecimals_data()
{
    QTest::addColumn<float>("step");
    QTest::addColumn<QByteArray>("rows");
    // The float products would read 0.26999998, 0.045000002, 0.00027000001.
    QTest::newRow("0.01") << 0.01f << QByteArray("0.00,0.27\n0.01,10.00\n0.02,\n");
    QTest::newRow("0.015") << 0.015f << QByteArray("0.000,0.405\n0.015,15.000\n0.030,\n");
    QTest::newRow("0.5") << 0.5f << QByteArray("0.0,13.5\n0.5,500.0\n1.0,\n");
    QTest::newRow("2") << 2.f << QByteArray("0,54\n2,2000\n4,\n");
    QTest::newRow("20") << 20.f << QByteArray("0,540\n20,20000\n40,\n");
    QTest::newRow("1e-5") << 1e-5f << QByteArray("0.00000,0.00027\n0.00001,0.01000\n0.00002,\n");
}

// Every sample, and chosen ones as a thinned curve keeps them.
void CsvTableTest::sampleTimesHaveTheStepsDecimals()
{
    QFETCH(float, step);
    QFETCH(QByteArray, rows);
    CsvTable table;
    table.AddSampleTimes("t_s", 3, step);
    table.AddSampleTimes("t_s_kept", std::vector<std::size_t> { 27, 1000 }, step);
    const QByteArray expected = "t_s,t_s_kept\n" + rows;
    QCOMPARE(QByteArray::fromStdString(written(table, {})), expected);
    QCOMPARE(QByteArray::fromStdString(written(table, { ';', "," })),
        QByteArray(expected).replace(',', ';').replace('.', ','));
}

QTEST_APPLESS_MAIN(CsvTableTest)
#include "tst_csvtable.moc"
