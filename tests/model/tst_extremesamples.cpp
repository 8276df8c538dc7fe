#include "model/extremesamples.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <numeric>

class ExtremeSamplesTest : public QObject
{
    Q_OBJECT

private slots:
    void keepsTheBoundTheEndsAndThePeaks_data();
    void keepsTheBoundTheEndsAndThePeaks();
};

void ExtremeSamplesTest::keepsTheBoundTheEndsAndThePeaks_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("limit");
    QTest::newRow("short, at the bound") << 10 << 10;
    QTest::newRow("one past the bound") << 11 << 10;
    // Stretches of unequal length: the lowest sample lies in the last one.
    QTest::newRow("long") << 100'003 << 1000;
}

void ExtremeSamplesTest::keepsTheBoundTheEndsAndThePeaks()
{
    QFETCH(int, count);
    QFETCH(int, limit);
    // A swing whose highest and lowest samples are neither the first nor the last.
    std::vector<float> values(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        values[i] = float(std::sin(i * 0.37));
    const std::size_t peak = std::size_t(count / 3);
    const std::size_t trough = std::size_t(count - 2);
    values[peak] = 2;
    values[trough] = -2;

    const std::vector<std::size_t> kept = ExtremeSamples(values, std::size_t(limit));
    if (count <= limit) {
        std::vector<std::size_t> all(values.size());
        std::iota(all.begin(), all.end(), std::size_t(0));
        QCOMPARE(kept, all);
        return;
    }
    QVERIFY2(kept.size() <= std::size_t(limit), qPrintable(QString::number(kept.size())));
    QVERIFY(std::adjacent_find(kept.begin(), kept.end(), std::greater_equal<>()) == kept.end());
    QCOMPARE(kept.front(), std::size_t(0));
    QCOMPARE(kept.back(), values.size() - 1);
    QVERIFY(std::binary_search(kept.begin(), kept.end(), peak));
    QVERIFY(std::binary_search(kept.begin(), kept.end(), trough));
}

QTEST_APPLESS_MAIN(ExtremeSamplesTest)
#include "tst_extremesamples.moc"
