#pragma once

#include <sys/resource.h>

// While it lives, a write that would make a file of this process larger than
// bytes fails with EFBIG, as a write to a full disk fails: a deterministic
// stand-in for one. Only where SIGXFSZ is ignored, as the program does from its
// start: otherwise the signal such a write raises ends the process.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_previous);
        const rlimit limit { bytes, m_previous.rlim_max };
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_previous); }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_previous {};
};
