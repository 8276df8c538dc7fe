#include "model/seam.h"
#include "tests/support/scopedhook.h"

#include <QTest>

#include <functional>
#include <string>

namespace {

using Greeting = std::function<std::string()>;

Seam<Greeting> &installedGreeting()
{
    static Seam<Greeting> greeting([] { return std::string("program"); });
    return greeting;
}

Greeting SetGreeting(Greeting greeting)
{
    return installedGreeting().Install(std::move(greeting));
}

std::string greet()
{
    return (*installedGreeting())();
}

Greeting saying(const char *text)
{
    return [text] { return std::string(text); };
}

} // namespace

class SeamTest : public QObject
{
    Q_OBJECT

private slots:
    void initialValueHoldsUntilInstall()
    {
        QVERIFY(!*Seam<Greeting>());
        const Seam<std::string> seam("program");
        QCOMPARE(*seam, "program");
        QCOMPARE(seam->size(), std::size_t(7));
    }

    void installReturnsTheValueReplaced()
    {
        Seam<std::string> seam("program");
        QCOMPARE(seam.Install("test"), "program");
        QCOMPARE(*seam, "test");
        QCOMPARE(seam.Install("again"), "test");
    }

    // Nested hooks give the value back in turn, down to the program's own.
    void scopedHookPutsThePreviousBack()
    {
        {
            const ScopedHook<Greeting, SetGreeting> outer(saying("outer"));
            QCOMPARE(greet(), "outer");
            {
                const ScopedHook<Greeting, SetGreeting> inner(saying("inner"));
                QCOMPARE(greet(), "inner");
            }
            QCOMPARE(greet(), "outer");
        }
        QCOMPARE(greet(), "program");
    }
};

QTEST_GUILESS_MAIN(SeamTest)
#include "tst_seam.moc"
