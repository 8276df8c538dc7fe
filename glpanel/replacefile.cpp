#include "glpanel/replacefile.h"

#include "model/seam.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

Seam<ReplaceFileSteps> &installedSteps()
{
    static Seam<ReplaceFileSteps> steps;
    return steps;
}

int syncFile(int fd)
{
    const auto installed = installedSteps()->fsync;
    return installed ? installed(fd) : ::fsync(fd);
}

bool commitFile(QSaveFile &file)
{
    const auto installed = installedSteps()->commit;
    return installed ? installed(file) : file.commit();
}

// Writes straight to a file descriptor and keeps the system's reason for a failed write.
// Through QSaveFile's own buffer a write cut short by a full disk reads "Unknown error",
// and in Qt 6.4 commit() loses an error of the last write, made at close.
class DescriptorWriter : public QIODevice
{
public:
    explicit DescriptorWriter(int fd)
        : m_fd(fd)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }
    bool Failed() const { return m_failed; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 length) override
    {
        for (qint64 done = 0; done < length;) {
            const ssize_t written = ::write(m_fd, data + done, std::size_t(length - done));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0) {
                m_failed = true;
                setErrorString(QString::fromLocal8Bit(std::strerror(written < 0 ? errno : EIO)));
                return -1;
            }
            done += written;
        }
        return length;
    }

private:
    int m_fd;
    bool m_failed = false;
};

[[noreturn]] void fail(QSaveFile &file, const QString &reason,
    FileWriteFailure::Cause cause = FileWriteFailure::Cause::System)
{
    file.cancelWriting();
    throw FileWriteFailure(reason, cause);
}

} // namespace

FileWriteFailure::FileWriteFailure(const QString &reason, Cause cause)
    : std::runtime_error(reason.toStdString())
    , m_cause(cause)
{ }

void ReplaceFile(const QString &fileName, const std::function<bool(QIODevice &)> &write)
{
    // As root a rename would put a plain file in place of /dev/full.
    const QFileInfo target(fileName);
    if (target.exists() && !target.isFile())
        throw FileWriteFailure(
            QStringLiteral("not a regular file"), FileWriteFailure::Cause::NotRegularFile);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        fail(file, file.errorString());
    DescriptorWriter device(file.handle());
    if (!write(device)) {
        if (device.Failed())
            fail(file, device.errorString());
        fail(file, QStringLiteral("the contents cannot be encoded"),
            FileWriteFailure::Cause::NotEncoded);
    }
    // Nothing should wait in Qt's buffer (the file is unbuffered); a write
    // failing there would be lost by commit().
    if (!file.flush())
        fail(file, file.errorString());
    // QSaveFile::commit ignores a failed fsync, where a full disk may show only then.
    if (syncFile(file.handle()) != 0)
        fail(file, QString::fromLocal8Bit(std::strerror(errno)));
    if (!commitFile(file))
        fail(file, file.errorString());
}

ReplaceFileSteps SetReplaceFileSteps(ReplaceFileSteps steps)
{
    return installedSteps().Install(steps);
}
