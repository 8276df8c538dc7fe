#include "model/modelparameters.h"

#include "model/clocale.h"
#include "model/seam.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <string_view>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <utility>

std::array<float *, ModelParameters::Count> ModelParameters::fields()
{
    return { &TimeStep, &PrintStep, &StopTime, &Mass, &Damping, &Stiffness, &ForceAmplitude,
        &ForceFrequency, &ForcePhase, &PlaneAngle, &Gravity, &SpringLength, &InitialDeflection,
        &InitialVelocity };
}

std::array<const float *, ModelParameters::Count> ModelParameters::fields() const
{
    auto mutableFields = const_cast<ModelParameters *>(this)->fields();
    std::array<const float *, Count> result;
    for (int i = 0; i < Count; ++i)
        result[i] = mutableFields[i];
    return result;
}

namespace {

// The part of path up to and including its last "/"; empty without one.
std::string folderOf(const std::string &path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

struct FileCloser
{
    void operator()(FILE *file) const { std::fclose(file); }
};
using File = std::unique_ptr<FILE, FileCloser>;

// The angle and the deflection carry one decimal more.
bool hasSixDecimals(int field)
{
    return field == FieldIndex(ParameterField::PlaneAngle)
        || field == FieldIndex(ParameterField::InitialDeflection);
}

const char *lineFormat(int field)
{
    return hasSixDecimals(field) ? "%5.6f,\n" : "%5.5f,\n";
}

// Takes the lock that keeps a reader from meeting a save in place half-way:
// the system lets a read see a write that is under way. A lock that another
// program keeps for seconds is not one of this program's and is passed by.
void lockBriefly(int fd, int operation)
{
    for (int waited = 0; flock(fd, operation | LOCK_NB) != 0; ++waited) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || waited == 20000)
            return;
        usleep(100);
    }
}

// Opens path for reading only if it is a regular file: a directory or a
// device would read as nothing, and opening a pipe would wait for a writer.
File openRegularFile(const std::string &path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return nullptr;
    }
    lockBriefly(fd, LOCK_SH);
    File file(fdopen(fd, "r"));
    if (!file)
        close(fd);
    return file;
}

bool isDigit(int c)
{
    return c >= '0' && c <= '9';
}

bool isSpace(int c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Longer numbers than this end the reading: no file of real values has one.
constexpr std::size_t MaxNumberLength = 4096;

// Characters of the file with the number of the line they are on.
class LineReader
{
public:
    explicit LineReader(FILE *file)
        : m_file(file)
    { }

    int get()
    {
        const int c = std::getc(m_file);
        if (c != EOF)
            ++m_offset;
        if (c == '\n') {
            m_previousLineStart = m_lineStart;
            ++m_line;
            m_lineStart = m_offset;
        }
        return c;
    }
    // One character back, the last one got.
    void unget(int c)
    {
        if (c == EOF || std::ungetc(c, m_file) == EOF)
            return;
        --m_offset;
        if (c == '\n') {
            --m_line;
            m_lineStart = m_previousLineStart;
        }
    }
    int line() const { return m_line; }
    long lineStart() const { return m_lineStart; }

    // The start of the line that begins at offset, without its line end.
    std::string lineAt(long offset, std::size_t length) const
    {
        std::string text;
        if (std::fseek(m_file, offset, SEEK_SET) != 0)
            return text;
        for (int c = std::getc(m_file); c != EOF && c != '\n' && c != '\r'; c = std::getc(m_file)) {
            if (text.size() == length) {
                text += "...";
                break;
            }
            // Control characters (a binary file) would garble the message.
            text += (c < ' ' || c == 0x7f) ? '?' : static_cast<char>(c);
        }
        return text;
    }

private:
    FILE *m_file;
    long m_offset = 0;
    int m_line = 1;
    long m_lineStart = 0;
    long m_previousLineStart = 0;
};

// One number as scanf's "%f" takes it, with what it looked like.
struct ScannedNumber
{
    float value = 0;
    bool spaced = false; // whitespace came before it
    bool hasSign = false;
    bool whole = false; // no "." and no exponent
};

// Reads one number in the file's syntax: whitespace, an optional sign,
// decimal digits with at most one ".", an optional exponent. Hexadecimal
// digits, "inf" and "nan" do not fit, nor does a value beyond the float range,
// which no saved file holds and which would not read back. Leaves the reader
// at the first character that does not fit.
std::optional<ScannedNumber> readNumber(LineReader &reader)
{
    ScannedNumber number;
    int c = reader.get();
    while (isSpace(c)) {
        number.spaced = true;
        c = reader.get();
    }
    std::string text;
    const auto take = [&] {
        text += static_cast<char>(c);
        c = reader.get();
    };
    bool digits = false;
    const auto takeDigits = [&] {
        while (isDigit(c) && text.size() < MaxNumberLength) {
            take();
            digits = true;
        }
    };
    number.hasSign = c == '+' || c == '-';
    if (number.hasSign)
        take();
    takeDigits();
    number.whole = c != '.';
    if (c == '.') {
        take();
        takeDigits();
    }
    // Like scanf, an "e" without digits after it is taken and leaves the value.
    if (digits && (c == 'e' || c == 'E')) {
        number.whole = false;
        take();
        if (c == '+' || c == '-')
            take();
        takeDigits();
    }
    reader.unget(c);
    if (!digits || text.size() >= MaxNumberLength)
        return std::nullopt;
    number.value = std::strtof(text.c_str(), nullptr);
    if (std::isinf(number.value))
        return std::nullopt;
    return number;
}

// "0,01" read with a "," typed as decimal point: a whole number, its ",", and
// digits right after it. "0.01,0.01" and "1, 2" are two numbers as meant.
bool looksLikeDecimalComma(const ScannedNumber &before, const ScannedNumber &after)
{
    return before.whole && !after.spaced && !after.hasSign && after.whole;
}

// Of the problem line's text, this much is quoted.
constexpr std::size_t QuotedLength = 40;

} // namespace

std::string ParameterFilePathFor(const std::string &executablePath, ParameterFileNaming naming)
{
    const std::string folder = folderOf(executablePath);
    if (naming == ParameterFileNaming::Fixed)
        return folder + "mirvane.dat";

    const std::string name = executablePath.substr(folder.size());
    const auto dot = name.find('.');
    // Executables here carry no extension; a dot-less name keeps its whole
    // stem instead of collapsing to a bare "dat" shared by every program.
    const std::string stem = dot == std::string::npos ? name + "." : name.substr(0, dot + 1);
    return folder + stem + "dat";
}

bool ReadParameterFile(
    const std::string &path, ModelParameters &parameters, ParameterFileReading *reading)
{
    const File file = openRegularFile(path);
    if (!file)
        return false;

    const ScopedCLocale cLocale;
    const auto fields = parameters.fields();
    LineReader reader(file.get());
    struct Place
    {
        int line = 0;
        long start = 0;
    };
    const auto here = [&] { return Place { reader.line(), reader.lineStart() }; };
    std::optional<Place> stop; // where the reading ended short of the fourteen values
    std::optional<Place> comma; // the first "0,01"
    bool runsPast = false; // a fifteenth value follows
    ParameterFileReading found;
    ScannedNumber previous;
    // Field by field, so that each value lands as soon as it is converted:
    // the same effect as one fscanf with fourteen "%f," conversions.
    for (int i = 0; i < ModelParameters::Count; ++i) {
        const std::optional<ScannedNumber> number = readNumber(reader);
        if (!number) {
            stop = here();
            break;
        }
        if (i > 0 && !comma && looksLikeDecimalComma(previous, *number))
            comma = here();
        previous = *number;
        *fields[i] = number->value;
        ++found.ValuesRead;
        const int c = reader.get();
        if (i + 1 == ModelParameters::Count) {
            runsPast = c == ',' && readNumber(reader).has_value();
            break;
        }
        if (c != ',') {
            reader.unget(c);
            stop = here();
            break;
        }
    }
    // A "," typed as decimal point reads as two values and so shifts the
    // count: a file of exactly fourteen values has none.
    const bool decimalComma = comma && (stop || runsPast);
    const std::optional<Place> problem = decimalComma ? comma : stop;
    if (reading) {
        if (problem) {
            found.ProblemLine = problem->line;
            found.DecimalComma = decimalComma;
            found.EmptyFile
                = std::fseek(file.get(), 0, SEEK_END) == 0 && std::ftell(file.get()) == 0;
            found.ProblemText = reader.lineAt(problem->start, QuotedLength);
        }
        *reading = found;
    }
    return true;
}

std::string FormatParameterFile(const ModelParameters &parameters)
{
    const ScopedCLocale cLocale;
    const auto fields = parameters.fields();
    std::string text;
    for (int i = 0; i < ModelParameters::Count; ++i) {
        const char *format = lineFormat(i);
        const double value = *fields[i];
        // Sized first: a huge value has hundreds of digits before the point.
        std::string line(std::snprintf(nullptr, 0, format, value), '\0');
        std::snprintf(line.data(), line.size() + 1, format, value);
        text += line;
    }
    return text;
}

double SmallestWrittenValue(int field)
{
    return hasSixDecimals(field) ? 1e-6 : 1e-5;
}

float WrittenValue(int field, float value)
{
    const ScopedCLocale cLocale;
    char line[64]; // the longest float takes 39 digits before the point
    std::snprintf(line, sizeof line, lineFormat(field), double(value));
    return std::strtof(line, nullptr);
}

bool WrittenAsZero(int field, float value)
{
    return value != 0 && WrittenValue(field, value) == 0;
}

namespace {

// Follows symbolic links from path to the file they end at, which need not
// exist yet; nothing on a loop of links.
std::optional<std::string> linkTarget(std::string path)
{
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info;
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return path;
        char target[4096];
        const ssize_t length = readlink(path.c_str(), target, sizeof target);
        if (length <= 0 || length == sizeof target)
            return std::nullopt;
        const std::string link(target, length);
        path = link[0] == '/' ? link : folderOf(path) + link;
    }
    return std::nullopt;
}

// The bits of the file that is replaced, or those a plain creation would give.
mode_t permissionsFor(const struct stat *replaced)
{
    if (replaced)
        return replaced->st_mode & 0777;
    // The mask is read by setting it; the program creates no file meanwhile.
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// Writes text at the start of the file, in one call unless the system takes
// less: a kill comes between calls, so the file never holds part of text.
bool writeFromStart(int fd, const std::string &text)
{
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t written = pwrite(fd, text.data() + done, text.size() - done, done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

std::optional<std::string> readAll(int fd)
{
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got == 0)
            return text;
        if (got < 0 && errno != EINTR)
            return std::nullopt;
        text.append(buffer, got > 0 ? static_cast<std::size_t>(got) : 0);
    }
}

Seam<ParameterFileCalls> &installedCalls()
{
    static Seam<ParameterFileCalls> calls;
    return calls;
}

int syncFile(int fd)
{
    const auto installed = installedCalls()->fsync;
    return installed ? installed(fd) : ::fsync(fd);
}

int renameFile(const char *from, const char *to)
{
    const auto installed = installedCalls()->rename;
    return installed ? installed(from, to) : std::rename(from, to);
}

// Puts text in place of the open file's content so that, after a kill at any
// point, the file reads as the old text or the new one. It is never emptied:
// it is cut after the write, and until then a longer old text goes on after
// the new one, where the reader, which stops after the fourteenth value, does
// not look. A text beyond the process's file-size limit is refused before
// anything changes, as the limit would let part of it in and then end the
// process by a signal.
bool overwrite(int fd, const std::string &text)
{
    rlimit limit;
    if (getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY
        && text.size() > limit.rlim_cur) {
        errno = EFBIG;
        return false;
    }
    return writeFromStart(fd, text) && ftruncate(fd, static_cast<off_t>(text.size())) == 0
        && syncFile(fd) == 0;
}

// Writes text into the existing file at target, so that its owner, group,
// links, extended attributes and inode stay. The old text is read first and
// written back the same way when the new one does not get in whole.
bool writeInPlace(const std::string &target, const std::string &text)
{
    const int fd = open(target.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    // Readers and other saves wait until the file holds one whole text.
    lockBriefly(fd, LOCK_EX);
    struct stat info;
    std::optional<std::string> old;
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
        old = readAll(fd);
    const bool written = old && overwrite(fd, text);
    if (old && !written)
        overwrite(fd, *old);
    const bool closed = close(fd) == 0;
    return written && closed;
}

// Whether the file carries extended attributes, an ACL among them, which a
// new file taking its place would not have.
bool hasExtendedAttributes(const std::string &path)
{
    return listxattr(path.c_str(), nullptr, 0) > 0;
}

// Makes a rename in folder durable. Some file systems cannot sync a folder;
// the new file is in place either way.
void syncFolder(const std::string &folder)
{
    const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        syncFile(fd);
        close(fd);
    }
}

// Whether the file that fd is, newly made in the folder, would take the place
// of replaced without losing its owner or group.
bool sameOwners(int fd, const struct stat &replaced)
{
    struct stat info;
    return fstat(fd, &info) == 0 && info.st_uid == replaced.st_uid
        && info.st_gid == replaced.st_gid;
}

// A temporary file's name: the target's, ".saving-" and six of these letters.
const std::string TemporaryMark = ".saving-";
constexpr std::size_t TemporarySuffixLength = 6;
constexpr std::string_view TemporaryLetters
    = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

bool isTemporaryOf(const std::string &name, const std::string &targetName)
{
    const std::string prefix = targetName + TemporaryMark;
    return name.size() == prefix.size() + TemporarySuffixLength && name.starts_with(prefix)
        && name.find_first_not_of(TemporaryLetters, prefix.size()) == std::string::npos;
}

constexpr const char *ProcessFiles = "/proc/self/fd";

// A new file beside a target, open for writing and locked while it is, so
// that removeStaleTemporaries can tell it from one left by a killed save.
// Unnamed where the file system allows, so that a kill before it is named
// leaves nothing; elsewhere it has a name of its own from the start.
class TemporaryFile
{
public:
    explicit TemporaryFile(const std::string &target)
        : m_target(target)
    {
        const std::string folder = folderOf(target);
        // An unnamed file gets its name through /proc, which may be missing.
        const bool nameable = access(ProcessFiles, X_OK) == 0;
        if (nameable)
            m_fd = open(
                folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        if (!nameable
            || (m_fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL))) {
            // Created exclusively: nothing that another program or user put
            // in the folder is followed or shared.
            m_name = target + TemporaryMark + std::string(TemporarySuffixLength, 'X');
            m_fd = mkostemp(m_name.data(), O_CLOEXEC);
            if (m_fd < 0)
                m_name.clear();
        }
        // Without locks (some network file systems) nothing is taken for stale.
        if (m_fd >= 0)
            flock(m_fd, LOCK_EX | LOCK_NB);
    }
    ~TemporaryFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_name.empty())
            unlink(m_name.c_str());
    }
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    int fd() const { return m_fd; }
    // Gives the file a name beside the target, if it has none, and renames it
    // over the target. Call it with the file written and synced.
    bool replaceTarget()
    {
        if (m_name.empty() && !link())
            return false;
        if (renameFile(m_name.c_str(), m_target.c_str()) != 0)
            return false;
        m_name.clear();
        return true;
    }

private:
    // A name of its own for the unnamed file; a link never follows or
    // replaces what the folder holds under that name.
    bool link()
    {
        const std::string self = std::string(ProcessFiles) + "/" + std::to_string(m_fd);
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string name = m_target + TemporaryMark + randomSuffix();
            if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                m_name = std::move(name);
                return true;
            }
            if (errno != EEXIST)
                return false;
        }
        return false;
    }
    static std::string randomSuffix()
    {
        unsigned char bytes[TemporarySuffixLength] = {};
        getrandom(bytes, sizeof bytes, 0);
        std::string suffix;
        for (const unsigned char byte : bytes)
            suffix += TemporaryLetters[byte % TemporaryLetters.size()];
        return suffix;
    }

    std::string m_target;
    std::string m_name; // empty while the file has none
    int m_fd = -1;
};

// A save killed between naming its temporary file and the rename leaves the
// file behind. Removes those of target that are this user's and that no live
// save holds locked.
void removeStaleTemporaries(const std::string &target)
{
    const std::string folder = folderOf(target);
    const std::string targetName = target.substr(folder.size());
    DIR *const directory = opendir(folder.empty() ? "." : folder.c_str());
    if (!directory)
        return;
    const int folderFd = dirfd(directory);
    while (const dirent *entry = readdir(directory)) {
        if (!isTemporaryOf(entry->d_name, targetName))
            continue;
        const int fd
            = openat(folderFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat opened, named;
        // The name is checked again once locked: the save may have renamed it.
        if (fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && opened.st_nlink == 1
            && opened.st_uid == geteuid() && flock(fd, LOCK_EX | LOCK_NB) == 0
            && fstatat(folderFd, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0
            && named.st_dev == opened.st_dev && named.st_ino == opened.st_ino)
            unlinkat(folderFd, entry->d_name, 0);
        close(fd);
    }
    closedir(directory);
}

enum class Replacing { Done, Failed, NotHere };

// Writes text to a temporary file of its own beside target and renames it
// over target. NotHere, leaving nothing behind, when the folder takes no new
// file or the new one would belong to someone else than replaced.
Replacing replaceByRename(
    const std::string &target, const std::string &text, const struct stat *replaced)
{
    TemporaryFile temporary(target);
    const int fd = temporary.fd();
    if (fd < 0)
        return Replacing::NotHere;
    if (replaced && !sameOwners(fd, *replaced))
        return Replacing::NotHere;
    const bool written = fchmod(fd, permissionsFor(replaced)) == 0 && overwrite(fd, text);
    if (!written || !temporary.replaceTarget())
        return Replacing::Failed;
    syncFolder(folderOf(target));
    removeStaleTemporaries(target);
    return Replacing::Done;
}

} // namespace

bool WriteParameterFile(const std::string &path, const ModelParameters &parameters)
{
    const std::string text = FormatParameterFile(parameters);
    // Through a link to its target, so that the link stays.
    const std::optional<std::string> target = linkTarget(path);
    if (!target)
        return false;
    struct stat replaced;
    const bool exists = stat(target->c_str(), &replaced) == 0;
    // A file that may not be written stays untouched, as a direct write would
    // have left it; so does anything but a regular file.
    if (exists && (!S_ISREG(replaced.st_mode) || access(target->c_str(), W_OK) != 0))
        return false;
    // A rename would split a hard link and drop an ACL.
    const Replacing replacing = exists && (replaced.st_nlink != 1 || hasExtendedAttributes(*target))
        ? Replacing::NotHere
        : replaceByRename(*target, text, exists ? &replaced : nullptr);
    if (replacing == Replacing::Done)
        return true;
    // On a full disk, the old file's room still takes a text no longer than it.
    const bool fits = exists && text.size() <= static_cast<std::size_t>(replaced.st_size);
    return (replacing == Replacing::NotHere || fits) && exists && writeInPlace(*target, text);
}

ParameterFileCalls SetParameterFileCalls(ParameterFileCalls calls)
{
    return installedCalls().Install(calls);
}
