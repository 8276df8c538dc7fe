// The parameter reader on any file: the fields fill in file order, none beyond
// the first unreadable value changes, and what was read formats, reads back
// and formats to the same text.

#include "fuzzcheck.h"
#include "model/modelparameters.h"

#include <bit>
#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// The reader takes a path: one file in memory, rewritten for every input.
class ScratchFile
{
public:
    ScratchFile()
        : m_descriptor(memfd_create("parameters", 0))
        , m_path("/proc/self/fd/" + std::to_string(m_descriptor))
    {
        FuzzRequire(m_descriptor >= 0, "a scratch file can be made");
    }
    ~ScratchFile() { close(m_descriptor); }

    const std::string &path() const { return m_path; }
    void fill(const void *data, std::size_t size) const
    {
        const bool written = ftruncate(m_descriptor, 0) == 0
            && pwrite(m_descriptor, data, size, 0) == static_cast<ssize_t>(size);
        FuzzRequire(written, "the scratch file can be written");
    }

private:
    int m_descriptor;
    std::string m_path;
};

// Two sets that differ in every field: a field that was read holds the same
// bits after reading over either, a field that was not keeps its own.
ModelParameters Marked(float base)
{
    ModelParameters parameters;
    float value = base;
    for (float *field : parameters.fields())
        *field = value++;
    return parameters;
}

ModelParameters ReadOver(
    const std::string &path, ModelParameters parameters, ParameterFileReading *reading = nullptr)
{
    FuzzRequire(ReadParameterFile(path, parameters, reading), "the file opens");
    return parameters;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const ScratchFile file;
    file.fill(data, size);

    const ModelParameters markedA = Marked(-1000.5f), markedB = Marked(2000.25f);
    ParameterFileReading reading;
    const ModelParameters a = ReadOver(file.path(), markedA, &reading);
    const ModelParameters b = ReadOver(file.path(), markedB);
    int read = 0;
    for (int i = 0; i < ModelParameters::Count; ++i) {
        const auto bits = [i](const ModelParameters &p) {
            return std::bit_cast<std::uint32_t>(*p.fields()[i]);
        };
        if (bits(a) == bits(b)) {
            FuzzRequire(i == read, "the fields read come first, in file order");
            ++read;
        } else {
            FuzzRequire(bits(a) == bits(markedA) && bits(b) == bits(markedB),
                "a field not read keeps its value");
        }
    }

    FuzzRequire(reading.ValuesRead == read, "the reading counts the fields read");
    FuzzRequire((read < ModelParameters::Count) <= (reading.ProblemLine > 0),
        "a file read in part names a problem line");
    // What a warning names comes with a problem line.
    FuzzRequire(
        !reading.DecimalComma || reading.HasProblem(), "a decimal comma is on a problem line");
    FuzzRequire(!reading.EmptyFile || (read == 0 && reading.HasProblem()),
        "an empty file reads nothing and names its first line");

    const std::string text = FormatParameterFile(a);
    file.fill(text.data(), text.size());
    FuzzRequire(FormatParameterFile(ReadOver(file.path(), markedB, &reading)) == text,
        "format, read and format give the same text");
    FuzzRequire(reading.ProblemLine == 0, "a formatted file reads without a problem line");
    std::string oneLine = text;
    std::erase(oneLine, '\n');
    file.fill(oneLine.data(), oneLine.size());
    FuzzRequire(FormatParameterFile(ReadOver(file.path(), markedB, &reading)) == text
            && reading.ProblemLine == 0,
        "a formatted file on one line reads the same without a problem line");
    return 0;
}
