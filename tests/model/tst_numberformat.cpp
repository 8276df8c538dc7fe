#include "numberformat.h"

#include <QTest>

#include <limits>

namespace {

const NumberSeparators Comma { ",", " " };

} // namespace

class TestNumberFormat : public QObject
{
    Q_OBJECT

private slots:
    void generalStyle_data();
    void generalStyle();
    void numberStyle_data();
    void numberStyle();
    void separators_data();
    void separators();
};

void TestNumberFormat::generalStyle_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("digits");
    QTest::addColumn<int>("exponentDigits");
    QTest::addColumn<QString>("expected");

    QTest::newRow("0.01") << 0.01 << 5 << 0 << "0,01";
    QTest::newRow("17.3205") << 17.3205 << 6 << 0 << "17,3205";
    QTest::newRow("600") << 600.0 << 5 << 0 << "600";
    QTest::newRow("1e-5, two exponent digits") << 0.00001 << 5 << 2 << "1E-05";
    QTest::newRow("1e-5, no padding") << 0.00001 << 5 << 0 << "1E-5";
    QTest::newRow("123456") << 123456.0 << 5 << 0 << "1,2346E5";
    QTest::newRow("no grouping") << 12345.0 << 5 << 0 << "12345";
    QTest::newRow("float 0.01") << double(0.01f) << 5 << 0 << "0,01";
    QTest::newRow("float 4e-6") << double(4e-6f) << 5 << 2 << "4E-06";
    QTest::newRow("reduced") << 0.123456 << 5 << 0 << "0,12346";
    QTest::newRow("negative") << -2.5 << 5 << 0 << "-2,5";
    QTest::newRow("negative exponent form") << -0.000012345678 << 3 << 2 << "-1,23E-05";
    QTest::newRow("zero") << 0.0 << 5 << 2 << "0";
    QTest::newRow("negative zero") << -0.0 << 5 << 2 << "0";
    QTest::newRow("carry to 10") << 9.99995 << 5 << 0 << "10";
    QTest::newRow("carry past 10^P") << 99999.5 << 5 << 0 << "1E5";
    QTest::newRow("just below 10^P") << 99999.4 << 5 << 0 << "99999";
    QTest::newRow("1e-4 is fixed") << 0.0001 << 5 << 2 << "0,0001";
    QTest::newRow("rounds up to 1e-4") << 0.000099999 << 3 << 2 << "0,0001";
    QTest::newRow("below 1e-4") << 0.00009 << 5 << 2 << "9E-05";
    QTest::newRow("large") << 1e20 << 5 << 2 << "1E20";
    QTest::newRow("small with mantissa") << 1.5e-10 << 5 << 2 << "1,5E-10";
    QTest::newRow("three exponent digits") << 2e-300 << 5 << 2 << "2E-300";
    QTest::newRow("four exponent digits") << 3e5 << 1 << 4 << "3E0005";
    QTest::newRow("digits clamped below") << 3.14159 << 0 << 0 << "3";
    QTest::newRow("digits clamped above") << 0.1 << 40 << 0 << "0,10000000000000001";
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << 5 << 2 << "NAN";
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << 5 << 2 << "INF";
    QTest::newRow("minus infinity") << -std::numeric_limits<double>::infinity() << 5 << 2 << "-INF";
}

void TestNumberFormat::generalStyle()
{
    QFETCH(double, value);
    QFETCH(int, digits);
    QFETCH(int, exponentDigits);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(FormatGeneralStyle(value, digits, exponentDigits, Comma)),
            expected);
}

void TestNumberFormat::numberStyle_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("digits");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("expected");

    QTest::newRow("grouped") << 1234.567 << 6 << 2 << "1 234,57";
    QTest::newRow("reduced first") << 1234.5678 << 5 << 2 << "1 234,60";
    QTest::newRow("origin position") << 0.38366777 << 5 << 2 << "0,38";
    QTest::newRow("padded decimals") << 600.0 << 5 << 2 << "600,00";
    QTest::newRow("time") << double(1000 * 0.01f) << 5 << 3 << "10,000";
    QTest::newRow("zero") << 0.0 << 5 << 2 << "0,00";
    QTest::newRow("no decimals") << 1234567.0 << 7 << 0 << "1 234 567";
    QTest::newRow("negative") << -1034.0505 << 5 << 2 << "-1 034,10";
    // 12.345 is 12.3449999... in binary; its five digits 12345 then round up.
    QTest::newRow("two roundings") << -12.345 << 5 << 2 << "-12,35";
    QTest::newRow("rounds to zero, no sign") << -0.001 << 5 << 2 << "0,00";
    QTest::newRow("carry into new group") << 999.996 << 5 << 2 << "1 000,00";
    QTest::newRow("decimals carry") << 9.995 << 4 << 2 << "10,00";
    QTest::newRow("P digits before separator") << 12345.4 << 5 << 2 << "12 345,00";
    QTest::newRow("too many digits: general") << 123456.0 << 5 << 2 << "1,2346E5";
    QTest::newRow("carry to P+1 digits: general") << 99999.5 << 5 << 2 << "1E5";
    QTest::newRow("negative general") << -2.5e7 << 5 << 3 << "-2,5E7";
    QTest::newRow("tiny") << 0.0000123 << 5 << 2 << "0,00";
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << 5 << 2 << "NAN";
    QTest::newRow("minus infinity") << -std::numeric_limits<double>::infinity() << 5 << 2 << "-INF";
}

void TestNumberFormat::numberStyle()
{
    QFETCH(double, value);
    QFETCH(int, digits);
    QFETCH(int, decimals);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(FormatNumberStyle(value, digits, decimals, Comma)), expected);
}

void TestNumberFormat::separators_data()
{
    QTest::addColumn<QString>("decimal");
    QTest::addColumn<QString>("grouping");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("general");

    QTest::newRow("C") << "." << "," << "12,345.68" << "1.2346E-05";
    QTest::newRow("Russian") << "," << QString(QChar(0x00A0)) << "12\u00A0345,68" << "1,2346E-05";
    QTest::newRow("no grouping") << "," << "" << "12345,68" << "1,2346E-05";
    QTest::newRow("multibyte decimal") << QString(QChar(0x066B)) << QString(QChar(0x066C))
                                       << "12\u066C345\u066B68" << "1\u066B2346E-05";
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
