#include "texttofloat.h"

#include <QTest>

#include <limits>

class TextToFloatTest : public QObject
{
    Q_OBJECT

private slots:
    void accepted_data();
    void accepted();
    void refused_data();
    void refused();
};

void TextToFloatTest::accepted_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<float>("value");

    QTest::newRow("comma") << "0,01" << "," << 0.01f;
    QTest::newRow("point") << "0.01" << "." << 0.01f;
    QTest::newRow("sign, exponent, blanks") << " \t-1,5e+3 " << "," << -1500.0f;
    QTest::newRow("no whole digits") << "+,5" << "," << 0.5f;
    QTest::newRow("no fraction digits") << "5," << "," << 5.0f;
    QTest::newRow("shown exponent form") << "1,2346E5" << "," << 123460.0f;
    QTest::newRow("underflow is no error") << "1e-60" << "," << 0.0f;
    QTest::newRow("multi-byte separator") << QStringLiteral("2\u066b5") << QStringLiteral("\u066b")
                                          << 2.5f;
    QTest::newRow("no separator: integers") << "42" << "" << 42.0f;
    QTest::newRow("largest float") << "3,4028234e38" << "," << std::numeric_limits<float>::max();
}

void TextToFloatTest::accepted()
{
    QFETCH(QString, text);
    QFETCH(QString, separator);
    QFETCH(float, value);
    QCOMPARE(TextToFloat(text.toStdString(), separator.toStdString()), value);
}

void TextToFloatTest::refused_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("separator");

    QTest::newRow("the other separator") << "0.01" << ",";
    QTest::newRow("grouping") << "1 000,5" << ",";
    QTest::newRow("grouping with the separator") << "1,000,5" << ",";
    QTest::newRow("empty") << "" << ",";
    QTest::newRow("blanks only") << "  " << ",";
    QTest::newRow("separator only") << "," << ",";
    QTest::newRow("sign only") << "-" << ",";
    QTest::newRow("two signs") << "--1" << ",";
    QTest::newRow("exponent without digits") << "1e+" << ",";
    QTest::newRow("exponent without mantissa") << "e5" << ",";
    QTest::newRow("blank inside") << "1 2" << ",";
    QTest::newRow("inf") << "inf" << ",";
    QTest::newRow("nan") << "NAN" << ",";
    QTest::newRow("hexadecimal") << "0x1p3" << ",";
    QTest::newRow("beyond the float range") << "3,5e38" << ",";
    QTest::newRow("huge exponent") << "1e99999999999999999999" << ",";
    QTest::newRow("empty separator") << "1.5" << "";
    QTest::newRow("trailing letter") << "1x" << ",";
}

void TextToFloatTest::refused()
{
    QFETCH(QString, text);
    QFETCH(QString, separator);
    const std::string typed = text.toStdString();
    try {
        TextToFloat(typed, separator.toStdString());
        QFAIL("accepted");
    } catch (const ConvertError &error) {
        QCOMPARE(std::string(error.what()), "'" + typed + "' is not a valid floating point value");
    }
}

QTEST_GUILESS_MAIN(TextToFloatTest)
#include "tst_texttofloat.moc"
