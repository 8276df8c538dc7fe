#include "tests/support/filesizelimit.h"
#include "tests/support/nominalparameters.h"
#include "tests/support/scopedhook.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <clocale>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <thread>

#include <cerrno>
#include <csignal>
#include <grp.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

std::string readAll(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), {} };
}

void writeAll(const std::string &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

struct stat statOf(const std::string &path)
{
    struct stat info
    {
    };
    stat(path.c_str(), &info);
    return info;
}

// Root may write any file and into any folder: as root, the writer drops to
// nobody in a child process, so that the checks for an ordinary user are met.
constexpr uid_t Nobody = 65534;
bool writeAsUser(const std::string &path)
{
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0
            && (setgroups(0, nullptr) != 0 || setgid(Nobody) != 0 || setuid(Nobody) != 0))
            _exit(2);
        _exit(WriteParameterFile(path, NominalParameters()) ? 0 : 1);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)
        && WEXITSTATUS(status) == 0;
}

int failingCall(int)
{
    errno = EIO;
    return -1;
}
int failingRename(const char *, const char *)
{
    errno = EXDEV;
    return -1;
}
using FailingCalls = ScopedHook<ParameterFileCalls, SetParameterFileCalls>;

const std::string NominalText = "0.01000,\n0.01000,\n10.00000,\n2.00000,\n0.00000,\n600.00000,\n"
                                "12.00000,\n17.32050,\n0.00000,\n30.000000,\n9.80000,\n0.40000,\n"
                                "0.000000,\n0.00000,\n";

} // namespace

class ParameterFileTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }
    void pathFollowsTheExecutable_data();
    void pathFollowsTheExecutable();
    void readsWithScanfRules_data();
    void readsWithScanfRules();
    void unopenableFileChangesNothing_data();
    void unopenableFileChangesNothing();
    void nominalFileInAnyLocale_data();
    void nominalFileInAnyLocale();
    void writesFiveDecimals();
    void failedWriteKeepsTheOldFile();
    void failedStepKeepsTheOldFile_data();
    void failedStepKeepsTheOldFile();
    void noRoomForANewFileWritesInPlace();
    void writeKeepsWhatTheUserSetUp_data();
    void writeKeepsWhatTheUserSetUp();
    void writeKeepsLinksAndPermissions();
    void writeFollowsNothingInTheFolder();
    void simultaneousWritesLeaveAWholeFile();
    void killedSaveLeavesOneWholeText_data();
    void killedSaveLeavesOneWholeText();
    void saveKilledWhileSyncingLeavesNothing();
    void saveLeavesAnotherSavesFileAlone();

private:
    // A file in a folder of each test's own.
    std::string path(const char *name = "p.dat") const
    {
        return m_dir->filePath(name).toStdString();
    }
    // Hidden ones too: a temporary file left behind is a fault.
    QStringList files() const
    {
        return QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void ParameterFileTest::pathFollowsTheExecutable_data()
{
    QTest::addColumn<QString>("executable");
    QTest::addColumn<bool>("fixed");
    QTest::addColumn<QString>("expected");

    QTest::newRow("one dot") << "/opt/lab/mirvane.exe" << false << "/opt/lab/mirvane.dat";
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
    QCOMPARE(
        QString::fromStdString(ParameterFilePathFor(executable.toStdString(), naming)), expected);
}

void ParameterFileTest::readsWithScanfRules_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<float>>("expected"); // all fourteen, starting from 7 each
    // The problem line: "<line> <text>", "+" before the text for a "," read
    // as decimal point; "" when there is none.
    QTest::addColumn<QString>("problem");

    const QList<float> untouched(14, 7.0f);
    auto with = [&](std::initializer_list<float> head) {
        QList<float> values = untouched;
        std::copy(head.begin(), head.end(), values.begin());
        return values;
    };
    const QList<float> counted { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14 };
    const QList<float> nominal { 0.01f, 0.01f, 10, 2, 0, 600, 12, 17.3205f, 0, 30, 9.8f, 0.4f, 0,
        0 };

    QTest::newRow("short file") << "0.5,\n0.25,\n3,\n" << with({ 0.5f, 0.25f, 3 }) << "4 ";
    QTest::newRow("empty file") << "" << untouched << "1 ";
    QTest::newRow("not a number") << "abc,\n1,\n" << untouched << "1 abc,";
    QTest::newRow("comma decimals shift values") << "0,01,\n2,5,\n"
                                                 << with({ 0, 1, 2, 5 }) << "1 +0,01,";
    QTest::newRow("blank before comma ends reading") << "1.5 ,\n2,\n"
                                                     << with({ 1.5f }) << "1 1.5 ,";
    QTest::newRow("whitespace before numbers")
        << "  1,\n\n\t 2,\r\n3," << with({ 1, 2, 3 }) << "4 3,";
    QTest::newRow("sign and exponent")
        << "-1.5e2,+2E-1," << with({ -150, 0.2f }) << "1 -1.5e2,+2E-1,";
    // Above 2^24 floats are two apart; ties go to the even one.
    QTest::newRow("hexadecimal stops at the x") << "0x10,\n2,\n" << with({ 0 }) << "1 0x10,";
    QTest::newRow("inf is no number") << "1,\ninf,\n2,\n" << with({ 1 }) << "2 inf,";
    QTest::newRow("nan is no number") << "nan,\n1,\n" << untouched << "1 nan,";
    QTest::newRow("beyond the float range") << "1,\n1e39,\n" << with({ 1 }) << "2 1e39,";
    QTest::newRow("binary") << QString::fromLatin1("1,\n\x89PNG\r\n") << with({ 1 })
                            << QString::fromLatin1("2 \x89PNG");
    QTest::newRow("32-bit rounding") << "16777217,\n16777219,\n"
                                     << with({ 16777216, 16777220 }) << "3 ";
    QTest::newRow("one value a line")
        << "1,\n2,\n3,\n4,\n5,\n6,\n7,\n8,\n9,\n10,\n11,\n12,\n13,\n14,\n"
        << counted << "";
    QTest::newRow("more than fourteen values")
        << "1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16,\nrubbish" << counted << "";
    QTest::newRow("all on one line")
        << QString::fromStdString(NominalText).remove('\n') << nominal << "";
    // Whole numbers side by side are no decimal comma while they add up to
    // fourteen values; one that shifts a fifteenth into the file is.
    QTest::newRow("no comma after the last")
        << "1,2,3,4,5,6,7,8,9,10,11,12,13,14 end" << counted << "";
    QTest::newRow("whole numbers on one line")
        << "0.01,0.01,10,2,0,600,12,17.3205,0,30,9.8,0.4,0,0," << nominal << "";
    QTest::newRow("comma decimal among fourteen lines")
        << QString::fromStdString(NominalText).replace("17.32050", "17,32050")
        << QList<float> { 0.01f, 0.01f, 10, 2, 0, 600, 12, 17, 32050, 0, 30, 9.8f, 0.4f, 0 }
        << "8 +17,32050,";
}

// Exact comparisons: a float that differs in the last place is a fault.
void ParameterFileTest::readsWithScanfRules()
{
    QFETCH(QString, text);
    QFETCH(QList<float>, expected);
    QFETCH(QString, problem);
    writeAll(path(), text.toLatin1().toStdString());

    ModelParameters parameters;
    for (float *field : parameters.fields())
        *field = 7;
    ParameterFileReading reading;
    QVERIFY(ReadParameterFile(path(), parameters, &reading));
    const auto fields = parameters.fields();
    for (int i = 0; i < ModelParameters::Count; ++i)
        QCOMPARE(double(*fields[i]), double(expected[i]));
    // The fields read are those before the untouched tail.
    int read = ModelParameters::Count;
    while (read > 0 && expected[read - 1] == 7.0f)
        --read;
    QCOMPARE(reading.ValuesRead, read);
    const QString found = reading.ProblemLine == 0 ? QString()
                                                   : QString::number(reading.ProblemLine) + ' '
            + (reading.DecimalComma ? "+" : "") + QString::fromLatin1(reading.ProblemText);
    QCOMPARE(found, problem);
}

void ParameterFileTest::unopenableFileChangesNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << "missing";
    QTest::newRow("directory") << "directory";
    QTest::newRow("pipe") << "pipe"; // opening it would wait for a writer
}

void ParameterFileTest::unopenableFileChangesNothing()
{
    QFETCH(QString, kind);
    if (kind == "directory")
        QVERIFY(QDir(m_dir->path()).mkdir("p.dat"));
    if (kind == "pipe")
        QCOMPARE(mkfifo(path().c_str(), 0600), 0);
    ModelParameters parameters = NominalParameters();
    QVERIFY(!ReadParameterFile(path(), parameters));
    QCOMPARE(FormatParameterFile(parameters), NominalText);
}

void ParameterFileTest::nominalFileInAnyLocale_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QByteArray>("printed"); // 1.5 with "%.1f"
    QTest::newRow("C") << QByteArray("C") << QByteArray("1.5");
    QTest::newRow("comma decimals") << QByteArray("de_DE.UTF-8") << QByteArray("1,5");
}

// The same bytes and values whatever the process locale, which stays in force.
void ParameterFileTest::nominalFileInAnyLocale()
{
    QFETCH(QByteArray, locale);
    QFETCH(QByteArray, printed);
    const auto restore = qScopeGuard([previous = std::string(std::setlocale(LC_ALL, nullptr))] {
        std::setlocale(LC_ALL, previous.c_str());
    });
    QVERIFY2(std::setlocale(LC_ALL, locale.constData()), locale + " must be generated");
    const auto oneAndAHalf = [] {
        char text[16];
        std::snprintf(text, sizeof text, "%.1f", 1.5);
        return QByteArray(text);
    };
    QCOMPARE(oneAndAHalf(), printed);

    QVERIFY(WriteParameterFile(path(), NominalParameters()));
    QCOMPARE(readAll(path()), NominalText);
    ModelParameters read;
    QVERIFY(ReadParameterFile(path(), read));
    QCOMPARE(FormatParameterFile(read), NominalText);
    QCOMPARE(oneAndAHalf(), printed);
}

// What the file can hold: five decimals (six on lines 10 and 13), in any width.
void ParameterFileTest::writesFiveDecimals()
{
    ModelParameters written;
    written.TimeStep = 0.000004f;
    written.PrintStep = 0.123456f;
    written.Stiffness = 1e20f;
    written.PlaneAngle = -0.1234564f;
    written.InitialDeflection = 0.0000004f;
    QVERIFY(WriteParameterFile(path(), written));
    QCOMPARE(readAll(path()),
        std::string(
            "0.00000,\n0.12346,\n0.00000,\n0.00000,\n0.00000,\n100000002004087734272.00000,\n"
            "0.00000,\n0.00000,\n0.00000,\n-0.123456,\n0.00000,\n0.00000,\n0.000000,\n0.00000,\n"));
}

void ParameterFileTest::failedWriteKeepsTheOldFile()
{
    QVERIFY(!WriteParameterFile(path("no/such/folder/p.dat"), NominalParameters()));

    // The new text cannot replace a folder of the same name: the write fails
    // and leaves no temporary file behind.
    QVERIFY(QDir(m_dir->path()).mkdir("p.dat"));
    QVERIFY(!WriteParameterFile(path(), NominalParameters()));
    QCOMPARE(files(), QStringList());

    writeAll(path("q.dat"), "1,\n");
    QVERIFY(WriteParameterFile(path("q.dat"), NominalParameters()));
    QCOMPARE(readAll(path("q.dat")), NominalText);
    QCOMPARE(files(), QStringList { "q.dat" });
}

// A failure at any step is reported, whether the file is replaced or, for a
// hard link, written in place; the old text stays and no temporary remains.
void ParameterFileTest::failedStepKeepsTheOldFile_data()
{
    QTest::addColumn<bool>("hardLink");
    QTest::addColumn<QString>("failing");
    for (const bool hardLink : { false, true }) {
        const char *how = hardLink ? "in place" : "replaced";
        for (const char *failing : { "full disk", "fsync", "rename" }) {
            if (!(hardLink && QByteArray(failing) == "rename"))
                QTest::addRow("%s, %s", how, failing) << hardLink << QString(failing);
        }
    }
}

void ParameterFileTest::failedStepKeepsTheOldFile()
{
    QFETCH(bool, hardLink);
    QFETCH(QString, failing);
    writeAll(path(), "1,\n");
    if (hardLink)
        QCOMPARE(link(path().c_str(), path("link.dat").c_str()), 0);
    {
        ParameterFileCalls calls;
        if (failing == "fsync")
            calls.fsync = failingCall;
        if (failing == "rename")
            calls.rename = failingRename;
        const FailingCalls failingCalls(calls);
        // The program ignores SIGXFSZ from its start; this test stands in for it.
        std::signal(SIGXFSZ, SIG_IGN);
        // The new text's first 40 bytes go in, the rest does not.
        const FileSizeLimit fullDisk(failing == "full disk" ? 40 : RLIM_INFINITY);
        QVERIFY(!WriteParameterFile(path(), NominalParameters()));
    }
    QCOMPARE(readAll(path()), std::string("1,\n"));
    QCOMPARE(files().size(), hardLink ? 2 : 1);
}

// A full disk takes no new file, but the old one's room still takes a text
// no longer than it.
void ParameterFileTest::noRoomForANewFileWritesInPlace()
{
    ModelParameters longer = NominalParameters();
    longer.Stiffness = 123456;
    QVERIFY(WriteParameterFile(path(), longer));
    const ino_t inode = statOf(path()).st_ino;
    {
        const FailingCalls fullDisk({ .rename = [](const char *, const char *) {
            errno = ENOSPC;
            return -1;
        } });
        QVERIFY(WriteParameterFile(path(), NominalParameters()));
    }
    QCOMPARE(readAll(path()), NominalText);
    QCOMPARE(statOf(path()).st_ino, inode);
    QCOMPARE(files(), QStringList { "p.dat" });
}

void ParameterFileTest::writeKeepsWhatTheUserSetUp_data()
{
    QTest::addColumn<int>("folderMode");
    QTest::addColumn<int>("fileMode");
    QTest::addColumn<bool>("writersFile");
    QTest::addColumn<bool>("hardLink");
    QTest::addColumn<bool>("attribute"); // an extended one, as an ACL is
    QTest::addColumn<QString>("expected"); // "replaced", "in place" or "refused"

    QTest::newRow("own file") << 0777 << 0644 << true << false << false << "replaced";
    QTest::newRow("hard link") << 0777 << 0644 << true << true << false << "in place";
    QTest::newRow("extended attribute") << 0777 << 0644 << true << false << true << "in place";
    QTest::newRow("folder not writable") << 0555 << 0644 << true << false << false << "in place";
    // A class folder that the teacher shares: the file stays the teacher's.
    QTest::newRow("another's file") << 0777 << 0666 << false << false << false << "in place";
    QTest::newRow("write-protected file") << 0777 << 0444 << true << false << false << "refused";
}

void ParameterFileTest::writeKeepsWhatTheUserSetUp()
{
    QFETCH(int, folderMode);
    QFETCH(int, fileMode);
    QFETCH(bool, writersFile);
    QFETCH(bool, hardLink);
    QFETCH(bool, attribute);
    QFETCH(QString, expected);
    const bool root = geteuid() == 0;
    if (!writersFile && !root)
        QSKIP("only root can give the file to another user");
    writeAll(path(), "1,\n");
    if (attribute && setxattr(path().c_str(), "user.mirvane", "1", 1, 0) != 0)
        QSKIP("the file system takes no user attributes");
    QCOMPARE(chmod(path().c_str(), fileMode), 0);
    if (writersFile && root)
        QCOMPARE(chown(path().c_str(), Nobody, Nobody), 0);
    if (hardLink)
        QCOMPARE(link(path().c_str(), path("link.dat").c_str()), 0);
    const struct stat before = statOf(path());
    const QByteArray folder = QFile::encodeName(m_dir->path());
    QCOMPARE(chmod(folder, folderMode), 0);
    const auto restore = qScopeGuard([&] { chmod(folder, 0700); });

    QCOMPARE(writeAsUser(path()), expected != "refused");
    QCOMPARE(readAll(path()), expected == "refused" ? std::string("1,\n") : NominalText);
    const struct stat after = statOf(path());
    QCOMPARE(after.st_ino == before.st_ino, expected != "replaced");
    QCOMPARE(QList<uint>({ after.st_uid, after.st_gid, after.st_mode, uint(after.st_nlink) }),
        QList<uint>({ before.st_uid, before.st_gid, before.st_mode, uint(before.st_nlink) }));
    if (hardLink)
        QCOMPARE(readAll(path("link.dat")), NominalText);
    if (attribute)
        QCOMPARE(getxattr(path().c_str(), "user.mirvane", nullptr, 0), 1);
    QCOMPARE(files().size(), hardLink ? 2 : 1);
}

void ParameterFileTest::writeKeepsLinksAndPermissions()
{
    writeAll(path("real.dat"), "1,\n");
    QCOMPARE(chmod(path("real.dat").c_str(), 0604), 0);
    QCOMPARE(symlink("real.dat", path("link.dat").c_str()), 0);
    QVERIFY(WriteParameterFile(path("link.dat"), NominalParameters()));
    QVERIFY(QFileInfo(m_dir->filePath("link.dat")).isSymLink());
    QCOMPARE(readAll(path("real.dat")), NominalText);
    const auto mode = [](const std::string &file) {
        struct stat info;
        return stat(file.c_str(), &info) == 0 ? info.st_mode & 0777 : 0;
    };
    QCOMPARE(mode(path("real.dat")), 0604u);

    // A new file gets what the umask leaves, as a plain creation would.
    const mode_t mask = umask(0);
    umask(mask);
    QVERIFY(WriteParameterFile(path("new.dat"), NominalParameters()));
    QCOMPARE(mode(path("new.dat")), 0666u & ~mask);
    QCOMPARE(files(), (QStringList { "link.dat", "new.dat", "real.dat" }));
}

// A link planted under a name the writer might use for its temporary file.
void ParameterFileTest::writeFollowsNothingInTheFolder()
{
    writeAll(path("victim"), "precious");
    QCOMPARE(symlink(path("victim").c_str(), path("p.dat.tmp").c_str()), 0);
    QVERIFY(WriteParameterFile(path(), NominalParameters()));
    QCOMPARE(readAll(path("victim")), std::string("precious"));
    QCOMPARE(readAll(path()), NominalText);
}

// Two programs saving at once: a reader always finds one whole text.
void ParameterFileTest::simultaneousWritesLeaveAWholeFile()
{
    ModelParameters other = NominalParameters();
    other.StopTime = 20;
    const std::string otherText = FormatParameterFile(other);
    QVERIFY(WriteParameterFile(path(), other));
    std::atomic<int> failures = 0;
    const auto save = [&](const ModelParameters &parameters) {
        for (int i = 0; i < 40; ++i)
            failures += !WriteParameterFile(path(), parameters);
    };
    std::thread first(save, NominalParameters()), second(save, other);
    int broken = 0;
    for (int i = 0; i < 400; ++i) {
        const std::string text = readAll(path());
        broken += text != NominalText && text != otherText;
    }
    first.join();
    second.join();
    QCOMPARE(broken, 0);
    QCOMPARE(failures.load(), 0);
    QCOMPARE(files(), QStringList { "p.dat" });
}

void ParameterFileTest::killedSaveLeavesOneWholeText_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("replaced") << "replaced";
    QTest::newRow("in place") << "in place";
    // The longer text is over the limit: its write fails, or would end the
    // process part-way by the signal that the limit raises.
    QTest::newRow("in place, file-size limit") << "limit";
}

// A save killed at any point leaves one whole text and nothing beside it, and
// a reader meanwhile never finds anything else.
void ParameterFileTest::killedSaveLeavesOneWholeText()
{
    QFETCH(QString, how);
    ModelParameters longer = NominalParameters();
    longer.InitialVelocity = -1234.56789f; // cut short, it reads as another value
    const std::string texts[]
        = { FormatParameterFile(NominalParameters()), FormatParameterFile(longer) };
    QVERIFY(WriteParameterFile(path(), NominalParameters()));
    if (how != "replaced")
        QCOMPARE(link(path().c_str(), path("link.dat").c_str()), 0);
    const QStringList expectedFiles = files();
    const auto readsWhole = [&] {
        ModelParameters read;
        ParameterFileReading reading;
        const std::string text = ReadParameterFile(path(), read, &reading) && !reading.HasProblem()
            ? FormatParameterFile(read)
            : std::string();
        return text == texts[0] || text == texts[1];
    };
    std::mt19937 random(1);
    int broken = 0;
    for (int kill = 0; kill < 200; ++kill) {
        const pid_t child = fork();
        if (child == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            // Syncing takes milliseconds and is no point a kill could miss.
            SetParameterFileCalls({ .fsync = [](int) { return 0; } });
            if (how == "limit") {
                // As in a program that does not ignore the limit's signal.
                std::signal(SIGXFSZ, SIG_DFL);
                const rlimit limit { texts[0].size(), RLIM_INFINITY };
                setrlimit(RLIMIT_FSIZE, &limit);
            }
            for (;;) {
                WriteParameterFile(path(), NominalParameters());
                WriteParameterFile(path(), longer);
            }
        }
        QVERIFY(child > 0);
        // The reads are the random wait before the kill.
        for (int read = std::uniform_int_distribution(0, 150)(random); read > 0; --read)
            broken += !readsWhole();
        ::kill(child, SIGKILL);
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY2(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL, "the writer died on its own");
        broken += !readsWhole();
    }
    QCOMPARE(broken, 0);
    // A kill between naming the temporary file and the rename leaves it; the
    // next save removes it.
    QVERIFY(WriteParameterFile(path(), longer));
    QCOMPARE(files(), expectedFiles);
}

// Where a kill most likely finds a save on a real disk.
void ParameterFileTest::saveKilledWhileSyncingLeavesNothing()
{
    writeAll(path(), "1,\n");
    const pid_t child = fork();
    if (child == 0) {
        SetParameterFileCalls({ .fsync = [](int) { return raise(SIGKILL); } });
        _exit(WriteParameterFile(path(), NominalParameters()) ? 0 : 1);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY(WIFSIGNALED(status));
    QCOMPARE(readAll(path()), std::string("1,\n"));
    QCOMPARE(files(), QStringList { "p.dat" });
}

// A save that comes between another's naming of its new file and the rename
// takes that file for no stale one.
void ParameterFileTest::saveLeavesAnotherSavesFileAlone()
{
    writeAll(path(), "1,\n");
    static std::string target;
    target = path();
    const FailingCalls another({ .rename = [](const char *from, const char *to) {
        static bool nested = false;
        if (!std::exchange(nested, true))
            WriteParameterFile(target, NominalParameters());
        nested = false;
        return std::rename(from, to);
    } });
    ModelParameters other = NominalParameters();
    other.StopTime = 20;
    QVERIFY(WriteParameterFile(path(), other));
    QCOMPARE(readAll(path()), FormatParameterFile(other));
    QCOMPARE(files(), QStringList { "p.dat" });
}

QTEST_GUILESS_MAIN(ParameterFileTest)
#include "tst_parameterfile.moc"
