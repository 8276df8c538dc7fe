#include "services/numberstyles.h"

#include <QTest>

// The styles take their separators from the user's locale.
class NumberStylesTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }
    void followsTheLocale_data();
    void followsTheLocale();
};

void NumberStylesTest::followsTheLocale_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("general");

    const QLocale german(QLocale::German, QLocale::Germany);
    QTest::newRow("German") << german << "12.345,68"
                            << "1,2346E5";
    QTest::newRow("Russian") << QLocale(QLocale::Russian, QLocale::Russia)
                             << QStringLiteral("12\u00a0345,68") << "1,2346E5";
    QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates) << "12,345.68"
                             << "1.2346E5";
    QLocale ungrouped = german;
    ungrouped.setNumberOptions(QLocale::OmitGroupSeparator);
    QTest::newRow("no grouping") << ungrouped << "12345,68"
                                 << "1,2346E5";
}

void NumberStylesTest::followsTheLocale()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, number);
    QFETCH(QString, general);
    QLocale::setDefault(locale);
    QCOMPARE(NumberStyle(12345.678, 7, 2), number);
    QCOMPARE(GeneralStyle(123456, 5, 0), general);
}

QTEST_GUILESS_MAIN(NumberStylesTest)
#include "tst_numberstyles.moc"
