#pragma once

#include <QString>

#include <functional>
#include <stdexcept>

class QIODevice;
class QSaveFile;

// Why a file could not be written; what() is the system's reason for Cause::System.
class FileWriteFailure : public std::runtime_error
{
public:
    enum class Cause {
        System, // a step of the system failed
        NotRegularFile, // the name is taken by a device, a pipe or a folder
        NotEncoded, // the writer could not put the contents into the file's format
    };
    FileWriteFailure(const QString &reason, Cause cause);
    Cause GetCause() const { return m_cause; }

private:
    Cause m_cause;
};

// Writes fileName through write beside it and renames it over fileName once all of it is
// on the disk, so that a failure leaves an existing file whole. write returns false when
// it cannot write; throws FileWriteFailure for that, for a failed step and for a name
// taken by anything but a regular file.
void ReplaceFile(const QString &fileName, const std::function<bool(QIODevice &)> &write);

// The steps that put the written file on the disk and in its place; tests put failing ones
// in. A null step stands for the system's fsync and QSaveFile::commit. Returns the steps
// replaced.
struct ReplaceFileSteps
{
    int (*fsync)(int) = nullptr;
    bool (*commit)(QSaveFile &) = nullptr;
};
ReplaceFileSteps SetReplaceFileSteps(ReplaceFileSteps steps);
