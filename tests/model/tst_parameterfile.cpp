#include "modelparameters.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

std::string readAll(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeAll(const std::string &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

ModelParameters nominalParameters()
{
    ModelParameters p;
    p.TimeStep = 0.01f;
    p.PrintStep = 0.01f;
    p.StopTime = 10;
    p.Mass = 2;
    p.Damping = 0;
    p.Stiffness = 600;
    p.ForceAmplitude = 12;
    p.ForceFrequency = 17.3205f;
    p.ForcePhase = 0;
    p.PlaneAngle = 30;
    p.Gravity = 9.8f;
    p.SpringLength = 0.4f;
    p.InitialDeflection = 0;
    p.InitialVelocity = 0;
    return p;
}

const char nominalText[] = "0.01000,\n0.01000,\n10.00000,\n2.00000,\n0.00000,\n600.00000,\n"
                           "12.00000,\n17.32050,\n0.00000,\n30.000000,\n9.80000,\n0.40000,\n"
                           "0.000000,\n0.00000,\n";

// Runs under a locale whose printf and scanf use "," for the whole object's life.
class CommaLocale
{
public:
    CommaLocale()
        : m_previous(std::setlocale(LC_ALL, nullptr))
    {
        m_active = std::setlocale(LC_ALL, "de_DE.UTF-8") || std::setlocale(LC_ALL, "ru_RU.UTF-8");
    }
    ~CommaLocale() { std::setlocale(LC_ALL, m_previous.c_str()); }
    bool active() const { return m_active; }

private:
    std::string m_previous;
    bool m_active = false;
};

} // namespace

class ParameterFileTest : public QObject
{
    Q_OBJECT

private slots:
    void pathFollowsTheExecutable_data();
    void pathFollowsTheExecutable();
    void readsWithScanfRules_data();
    void readsWithScanfRules();
    void valuesAreHeldAsFloats();
    void missingFileChangesNothing();
    void writesExactBytes();
    void fiveDecimalsRoundTrip();
    void commaLocaleStillUsesPoint();
    void failedWriteKeepsTheOldFile();
};

void ParameterFileTest::pathFollowsTheExecutable_data()
{
    QTest::addColumn<QString>("executable");
    QTest::addColumn<bool>("fixed");
    QTest::addColumn<QString>("expected");

    QTest::newRow("one dot") << "/opt/lab/mirvane.exe" << false << "/opt/lab/mirvane.dat";
    QTest::newRow("one dot, fixed") << "/opt/lab/mirvane.exe" << true << "/opt/lab/mirvane.dat";
    QTest::newRow("two dots") << "/opt/lab/lab.model.exe" << false << "/opt/lab/lab.dat";
    QTest::newRow("two dots, fixed") << "/opt/lab/lab.model.exe" << true << "/opt/lab/mirvane.dat";
    QTest::newRow("no dot") << "/opt/lab/mirvane" << false << "/opt/lab/mirvane.dat";
    QTest::newRow("no dot, fixed") << "/opt/lab/other" << true << "/opt/lab/mirvane.dat";
    QTest::newRow("dots in folders") << "/a.b/c.d/lab" << false << "/a.b/c.d/lab.dat";
    QTest::newRow("leading dot") << "/x/.hidden" << false << "/x/.dat";
}

void ParameterFileTest::pathFollowsTheExecutable()
{
    QFETCH(QString, executable);
    QFETCH(bool, fixed);
    QFETCH(QString, expected);
    const auto naming = fixed ? ParameterFileNaming::Fixed : ParameterFileNaming::AfterExecutable;
    QCOMPARE(QString::fromStdString(ParameterFilePathFor(executable.toStdString(), naming)),
            expected);
}

void ParameterFileTest::readsWithScanfRules_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<float>>("expected"); // all fourteen, starting from 7 each

    const QList<float> untouched(14, 7.0f);
    auto with = [&](std::initializer_list<float> head) {
        QList<float> values = untouched;
        int i = 0;
        for (float v : head)
            values[i++] = v;
        return values;
    };

    QTest::newRow("nominal") << QString::fromLatin1(nominalText)
                             << QList<float> { 0.01f, 0.01f, 10, 2, 0, 600, 12, 17.3205f, 0, 30,
                                    9.8f, 0.4f, 0, 0 };
    QTest::newRow("short file") << "0.5,\n0.25,\n3,\n" << with({ 0.5f, 0.25f, 3 });
    QTest::newRow("empty file") << "" << untouched;
    QTest::newRow("not a number") << "abc,\n1,\n" << untouched;
    QTest::newRow("comma decimals shift values") << "0,01,\n2,5,\n" << with({ 0, 1, 2, 5 });
    QTest::newRow("blank before comma ends reading") << "1.5 ,\n2,\n" << with({ 1.5f });
    QTest::newRow("whitespace before numbers") << "  1,\n\n\t 2,\r\n3," << with({ 1, 2, 3 });
    QTest::newRow("sign and exponent") << "-1.5e2,+2E-1," << with({ -150, 0.2f });
    QTest::newRow("more than fourteen lines")
            << "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,\nrubbish"
            << QList<float> { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14 };
    QTest::newRow("text after the last value")
            << "1,2,3,4,5,6,7,8,9,10,11,12,13,14 end"
            << QList<float> { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14 };
}

void ParameterFileTest::readsWithScanfRules()
{
    QFETCH(QString, text);
    QFETCH(QList<float>, expected);
    QTemporaryDir dir;
    const std::string path = dir.filePath("p.dat").toStdString();
    writeAll(path, text.toStdString());

    ModelParameters parameters;
    for (float *field : parameters.fields())
        *field = 7;
    QVERIFY(ReadParameterFile(path, parameters));
    const auto fields = parameters.fields();
    for (int i = 0; i < ModelParameters::Count; ++i)
        QCOMPARE(*fields[i], expected[i]);
}

void ParameterFileTest::valuesAreHeldAsFloats()
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("p.dat").toStdString();
    writeAll(path, "0.01,\n");
    ModelParameters parameters;
    QVERIFY(ReadParameterFile(path, parameters));
    QCOMPARE(static_cast<double>(parameters.TimeStep), static_cast<double>(0.01f));
    QVERIFY(static_cast<double>(parameters.TimeStep) != 0.01);
    QVERIFY(qAbs(static_cast<double>(parameters.TimeStep) - 0.0099999998) < 1e-10);
}

void ParameterFileTest::missingFileChangesNothing()
{
    QTemporaryDir dir;
    ModelParameters parameters = nominalParameters();
    QVERIFY(!ReadParameterFile(dir.filePath("absent.dat").toStdString(), parameters));
    QCOMPARE(FormatParameterFile(parameters), std::string(nominalText));
}

void ParameterFileTest::writesExactBytes()
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("mirvane.dat").toStdString();
    QVERIFY(WriteParameterFile(path, nominalParameters()));
    QCOMPARE(readAll(path), std::string(nominalText));

    ModelParameters negative;
    negative.PlaneAngle = -12.5f;
    negative.InitialDeflection = 0.1234567f;
    negative.Stiffness = 1e20f;
    const std::string text = FormatParameterFile(negative);
    QVERIFY(text.find("\n-12.500000,\n") != std::string::npos);
    QVERIFY(text.find("\n0.123457,\n") != std::string::npos);
    QVERIFY(text.find("\n100000002004087734272.00000,\n") != std::string::npos);
}

void ParameterFileTest::fiveDecimalsRoundTrip()
{
    // What the file can hold: five decimals (six on lines 10 and 13).
    QTemporaryDir dir;
    const std::string path = dir.filePath("p.dat").toStdString();
    ModelParameters written;
    written.TimeStep = 0.000004f;
    written.PrintStep = 0.123456f;
    written.InitialDeflection = 0.0000004f;
    written.PlaneAngle = 0.1234564f;
    QVERIFY(WriteParameterFile(path, written));
    ModelParameters read;
    QVERIFY(ReadParameterFile(path, read));
    QCOMPARE(read.TimeStep, 0.0f);
    QCOMPARE(read.PrintStep, 0.12346f);
    QCOMPARE(read.InitialDeflection, 0.0f);
    QCOMPARE(read.PlaneAngle, 0.123456f);
}

void ParameterFileTest::commaLocaleStillUsesPoint()
{
    CommaLocale locale;
    QVERIFY2(locale.active(), "de_DE.UTF-8 or ru_RU.UTF-8 must be generated");
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    QCOMPARE(probe, "1,5"); // the locale really is in force

    QTemporaryDir dir;
    const std::string path = dir.filePath("p.dat").toStdString();
    QVERIFY(WriteParameterFile(path, nominalParameters()));
    QCOMPARE(readAll(path), std::string(nominalText));
    ModelParameters read;
    QVERIFY(ReadParameterFile(path, read));
    QCOMPARE(read.ForceFrequency, 17.3205f);
    QCOMPARE(read.Gravity, 9.8f);
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    QCOMPARE(probe, "1,5"); // and is back afterwards
}

void ParameterFileTest::failedWriteKeepsTheOldFile()
{
    QTemporaryDir dir;
    QVERIFY(!WriteParameterFile(dir.filePath("no/such/folder/p.dat").toStdString(),
            nominalParameters()));

    // The new text cannot replace a folder of the same name: the write fails
    // and leaves no temporary file behind.
    QVERIFY(QDir(dir.path()).mkdir("p.dat"));
    QVERIFY(!WriteParameterFile(dir.filePath("p.dat").toStdString(), nominalParameters()));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());

    const std::string path = dir.filePath("q.dat").toStdString();
    writeAll(path, "1,\n");
    QVERIFY(WriteParameterFile(path, nominalParameters()));
    QCOMPARE(readAll(path), std::string(nominalText));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList { "q.dat" });
}

QTEST_GUILESS_MAIN(ParameterFileTest)
#include "tst_parameterfile.moc"
