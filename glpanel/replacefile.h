#pragma once

#include <QSaveFile>
#include <QString>

#include <functional>
#include <stdexcept>
#include <unistd.h>

// Why a file could not be written; what() is the system's reason.
class FileWriteFailure : public std::runtime_error
{
public:
    FileWriteFailure(const QString &reason, bool notRegularFile);
    // The name is taken by something a rename would destroy: a device, a pipe, a folder.
    bool NotRegularFile() const { return m_notRegularFile; }

private:
    bool m_notRegularFile = false;
};

// Writes fileName through write beside it and renames it over fileName once all of it is
// on the disk, so that a failure leaves an existing file whole. write returns false when
// it cannot write; throws FileWriteFailure for that, for a failed step and for a name
// taken by anything but a regular file.
void ReplaceFile(const QString &fileName, const std::function<bool(QIODevice &)> &write);

// The steps that put the written file on the disk and in its place; tests put failing ones
// in. Returns the steps replaced.
struct ReplaceFileSteps
{
    int (*fsync)(int) = ::fsync;
    bool (*commit)(QSaveFile &) = [](QSaveFile &file) { return file.commit(); };
};
ReplaceFileSteps SetReplaceFileSteps(ReplaceFileSteps steps);
