#include "model/numberformat.h"

#include <QTest>

#include <limits>

namespace {

const NumberSeparators Comma { ",", " " };
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr bool General = true, Number = false;

} // namespace

class TestNumberFormat : public QObject
{
    Q_OBJECT

private slots:
    void styles_data();
    void styles();
    void separators_data();
    void separators();
};

void TestNumberFormat::styles_data()
{
    QTest::addColumn<bool>("general");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("digits");
    QTest::addColumn<int>("third"); // exponent digits (general), decimals (number)
    QTest::addColumn<QString>("expected");

    QTest::newRow("0.01") << General << 0.01 << 5 << 0 << "0,01";
    QTest::newRow("17.3205") << General << 17.3205 << 6 << 0 << "17,3205";
    QTest::newRow("600") << General << 600.0 << 5 << 0 << "600";
    QTest::newRow("1e-5, two exponent digits") << General << 0.00001 << 5 << 2 << "1E-05";
    QTest::newRow("1e-5, no padding") << General << 0.00001 << 5 << 0 << "1E-5";
    QTest::newRow("123456") << General << 123456.0 << 5 << 0 << "1,2346E5";
    QTest::newRow("no grouping") << General << 12345.0 << 5 << 0 << "12345";
    QTest::newRow("float 0.01") << General << double(0.01f) << 5 << 0 << "0,01";
    QTest::newRow("reduced") << General << 0.123456 << 5 << 0 << "0,12346";
    QTest::newRow("negative") << General << -2.5 << 5 << 0 << "-2,5";
    QTest::newRow("negative exponent form") << General << -0.000012345678 << 3 << 2 << "-1,23E-05";
    QTest::newRow("zero") << General << 0.0 << 5 << 2 << "0";
    QTest::newRow("negative zero") << General << -0.0 << 5 << 2 << "0";
    QTest::newRow("carry to 10") << General << 9.99995 << 5 << 0 << "10";
    QTest::newRow("carry past 10^P") << General << 99999.5 << 5 << 0 << "1E5";
    QTest::newRow("just below 10^P") << General << 99999.4 << 5 << 0 << "99999";
    QTest::newRow("1e-4 is fixed") << General << 0.0001 << 5 << 2 << "0,0001";
    QTest::newRow("rounds up to 1e-4") << General << 0.000099999 << 3 << 2 << "0,0001";
    QTest::newRow("below 1e-4") << General << 0.00009 << 5 << 2 << "9E-05";
    QTest::newRow("three exponent digits") << General << 2e-300 << 5 << 2 << "2E-300";
    QTest::newRow("four exponent digits") << General << 3e5 << 1 << 4 << "3E0005";
    QTest::newRow("digits clamped below") << General << 3.14159 << 0 << 0 << "3";
    QTest::newRow("digits clamped above") << General << 0.1 << 40 << 0 << "0,10000000000000001";
    QTest::newRow("NaN") << General << NaN << 5 << 2 << "NAN";
    QTest::newRow("minus infinity") << General << -Inf << 5 << 2 << "-INF";

    QTest::newRow("grouped") << Number << 1234.567 << 6 << 2 << "1 234,57";
    QTest::newRow("reduced first") << Number << 1234.5678 << 5 << 2 << "1 234,60";
    QTest::newRow("padded decimals") << Number << 600.0 << 5 << 2 << "600,00";
    QTest::newRow("number zero") << Number << 0.0 << 5 << 2 << "0,00";
    QTest::newRow("no decimals") << Number << 1234567.0 << 7 << 0 << "1 234 567";
    QTest::newRow("number negative") << Number << -1034.0505 << 5 << 2 << "-1 034,10";
    // 12.345 is 12.3449999... in binary; its five digits 12345 then round up.
    QTest::newRow("two roundings") << Number << -12.345 << 5 << 2 << "-12,35";
    QTest::newRow("rounds to zero, no sign") << Number << -0.001 << 5 << 2 << "0,00";
    QTest::newRow("carry into new group") << Number << 999.996 << 5 << 2 << "1 000,00";
    QTest::newRow("P digits before separator") << Number << 12345.4 << 5 << 2 << "12 345,00";
    QTest::newRow("too many digits: general") << Number << 123456.0 << 5 << 2 << "1,2346E5";
    QTest::newRow("carry to P+1 digits: general") << Number << 99999.5 << 5 << 2 << "1E5";
    QTest::newRow("negative general") << Number << -2.5e7 << 5 << 3 << "-2,5E7";
    QTest::newRow("tiny") << Number << 0.0000123 << 5 << 2 << "0,00";
    QTest::newRow("number NaN") << Number << NaN << 5 << 2 << "NAN";
    QTest::newRow("number minus infinity") << Number << -Inf << 5 << 2 << "-INF";
}

void TestNumberFormat::styles()
{
    QFETCH(bool, general);
    QFETCH(double, value);
    QFETCH(int, digits);
    QFETCH(int, third);
    QFETCH(QString, expected);
    const std::string text = general ? FormatGeneralStyle(value, digits, third, Comma)
                                     : FormatNumberStyle(value, digits, third, Comma);
    QCOMPARE(QString::fromStdString(text), expected);
}

void TestNumberFormat::separators_data()
{
    QTest::addColumn<QString>("decimal");
    QTest::addColumn<QString>("grouping");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("general");

    QTest::newRow("C") << "."
                       << ","
                       << "12,345.68"
                       << "1.2346E-05";
    QTest::newRow("no grouping") << ","
                                 << ""
                                 << "12345,68"
                                 << "1,2346E-05";
    QTest::newRow("multibyte decimal")
        << QString(QChar(0x066B)) << QString(QChar(0x066C)) << "12\u066C345\u066B68"
        << "1\u066B2346E-05";
}

// 12345.678 in number style (7 digits, 2 decimals), 0.0000123456 in general
// style (5 digits, 2 exponent digits).
void TestNumberFormat::separators()
{
    QFETCH(QString, decimal);
    QFETCH(QString, grouping);
    QFETCH(QString, number);
    QFETCH(QString, general);
    const NumberSeparators separators { decimal.toStdString(), grouping.toStdString() };
    QCOMPARE(QString::fromStdString(FormatNumberStyle(12345.678, 7, 2, separators)), number);
    QCOMPARE(QString::fromStdString(FormatGeneralStyle(0.0000123456, 5, 2, separators)), general);
}

QTEST_GUILESS_MAIN(TestNumberFormat)
#include "tst_numberformat.moc"
