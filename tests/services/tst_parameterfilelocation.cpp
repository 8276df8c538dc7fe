#include "forms/field.h"
#include "services/buildvariant.h"
#include "services/parameterfilelocation.h"
#include "tests/support/messageboxcapture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// One source, built for each program variant.
#ifdef MIRVANE_FIXED_NAME
const BuildVariant &variant = FixedNameBuild;
const QString expectedName = QStringLiteral("mirvane.dat");
const QString expectedMessage = QStringLiteral("Can't open mirvane.dat");
#else
const BuildVariant &variant = MainBuild;
// The test executable's own name has no dot: the whole name, then ".dat".
const QString expectedName = QStringLiteral("services-parameterfilelocation.dat");
const QString expectedMessage = QStringLiteral("Can't open data file");
#endif

QString expectedPath()
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + expectedName;
}

} // namespace

class ParameterFilePathTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { SetBuildVariant(variant); }
    void cleanup()
    {
        QFile::remove(expectedPath());
        QDir().rmdir(expectedPath());
    }
    void pathIsBesideTheExecutableWhateverTheWorkingDirectory();
    void mainWindowReadsTheFileOnFirstShow();
    void unreadableFileIsReportedAndEndsTheProgram_data();
    void unreadableFileIsReportedAndEndsTheProgram();
};

void ParameterFilePathTest::pathIsBesideTheExecutableWhateverTheWorkingDirectory()
{
    QTemporaryDir elsewhere;
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(elsewhere.path()));
    const QString path = QString::fromStdString(ParameterFilePath());
    QDir::setCurrent(before);
    QCOMPARE(path, expectedPath());
}

void ParameterFilePathTest::mainWindowReadsTheFileOnFirstShow()
{
    QFile file(expectedPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("0.5,\n0.25,\n3,\n");
    file.close();

    MessageBoxCapture boxes;
    TForm2 window;
    QCOMPARE(window.ModelParameters.TimeStep, 0.0f);
    window.show();
    QCOMPARE(window.ModelParameters.TimeStep, 0.5f);
    QCOMPARE(window.ModelParameters.StopTime, 3.0f);
    QCOMPARE(window.ModelParameters.Mass, 0.0f); // not in the file
    QVERIFY(boxes.boxes.isEmpty());
}

void ParameterFilePathTest::unreadableFileIsReportedAndEndsTheProgram_data()
{
    QTest::addColumn<bool>("folder");
    QTest::newRow("missing") << false;
    QTest::newRow("a folder of that name") << true;
}

void ParameterFilePathTest::unreadableFileIsReportedAndEndsTheProgram()
{
    QFETCH(bool, folder);
    if (folder)
        QVERIFY(QDir().mkdir(expectedPath()));
    MessageBoxCapture boxes;
    TForm2 window;
    window.show();
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].text, expectedMessage);
    QCOMPARE(boxes.boxes[0].caption, QStringLiteral(" "));
    QCOMPARE(window.ModelParameters.TimeStep, 0.0f);

    // The request to end reaches the loop as soon as it runs.
    QTimer::singleShot(3000, [] { QCoreApplication::exit(1); });
    QCOMPARE(QCoreApplication::exec(), 0);
}

QTEST_MAIN(ParameterFilePathTest)
#include "tst_parameterfilelocation.moc"
