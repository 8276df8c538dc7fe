#include "model/texttofloat.h"

#include <QTest>

#include <cmath>
#include <limits>

constexpr float Refused = std::numeric_limits<float>::quiet_NaN();

class TextToFloatTest : public QObject
{
    Q_OBJECT

private slots:
    void conversion_data();
    void conversion();
};

void TextToFloatTest::conversion_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<float>("value");

    QTest::newRow("sign, exponent, blanks") << " \t-1,5e+3 "
                                            << "," << -1500.0f;
    QTest::newRow("no whole digits") << "+,5"
                                     << "," << 0.5f;
    QTest::newRow("underflow is no error") << "1e-60"
                                           << "," << 0.0f;
    QTest::newRow("largest float") << "3,4028234e38"
                                   << "," << std::numeric_limits<float>::max();
    QTest::newRow("multi-byte separator")
        << QStringLiteral("2\u066b5") << QStringLiteral("\u066b") << 2.5f;
    QTest::newRow("grouping") << "1 000,5"
                              << "," << Refused;
    QTest::newRow("empty") << ""
                           << "," << Refused;
    QTest::newRow("exponent without digits") << "1e+"
                                             << "," << Refused;
    QTest::newRow("trailing letter") << "1x"
                                     << "," << Refused;
    QTest::newRow("inf") << "inf"
                         << "," << Refused;
    QTest::newRow("hexadecimal") << "0x1p3"
                                 << "," << Refused;
    QTest::newRow("beyond the float range") << "3,5e38"
                                            << "," << Refused;
    QTest::newRow("empty separator") << "1.5"
                                     << "" << Refused;
}

void TextToFloatTest::conversion()
{
    QFETCH(QString, text);
    QFETCH(QString, separator);
    QFETCH(float, value);
    const std::string typed = text.toStdString();
    try {
        const float converted = TextToFloat(typed, separator.toStdString());
        QVERIFY2(!std::isnan(value), "accepted");
        QCOMPARE(converted, value);
    } catch (const ConvertError &error) {
        QVERIFY2(std::isnan(value), "refused");
        QCOMPARE(error.Text(), typed);
    }
}

QTEST_GUILESS_MAIN(TextToFloatTest)
#include "tst_texttofloat.moc"
