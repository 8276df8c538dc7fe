#include "modelparameters.h"

#include "clocale.h"

#include <cstdio>
#include <memory>
#include <unistd.h>

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

std::string ParameterFilePathFor(const std::string &executablePath, ParameterFileNaming naming)
{
    const auto slash = executablePath.rfind('/');
    const std::string folder
            = slash == std::string::npos ? std::string() : executablePath.substr(0, slash + 1);
    if (naming == ParameterFileNaming::Fixed)
        return folder + "mirvane.dat";

    const std::string name = executablePath.substr(folder.size());
    const auto dot = name.find('.');
    // Executables here carry no extension; a dot-less name keeps its whole
    // stem instead of collapsing to a bare "dat" shared by every program.
    const std::string stem = dot == std::string::npos ? name + "." : name.substr(0, dot + 1);
    return folder + stem + "dat";
}

namespace {

struct FileCloser
{
    void operator()(FILE *file) const { std::fclose(file); }
};
using File = std::unique_ptr<FILE, FileCloser>;

// Lines 10 and 13 carry one decimal more.
bool hasSixDecimals(int field)
{
    return field == 9 || field == 12;
}

} // namespace

bool ReadParameterFile(const std::string &path, ModelParameters &parameters)
{
    File file(std::fopen(path.c_str(), "r"));
    if (!file)
        return false;

    const ScopedCLocale cLocale;
    const auto fields = parameters.fields();
    // Field by field, so that each value lands as soon as it is converted:
    // the same effect as one fscanf with fourteen "%f," conversions.
    for (int i = 0; i < ModelParameters::Count; ++i) {
        if (std::fscanf(file.get(), "%f", fields[i]) != 1)
            break;
        if (i + 1 < ModelParameters::Count && std::fgetc(file.get()) != ',')
            break;
    }
    return true;
}

std::string FormatParameterFile(const ModelParameters &parameters)
{
    const ScopedCLocale cLocale;
    const auto fields = parameters.fields();
    std::string text;
    for (int i = 0; i < ModelParameters::Count; ++i) {
        const char *format = hasSixDecimals(i) ? "%5.6f,\n" : "%5.5f,\n";
        const double value = *fields[i];
        // Sized first: a huge value has hundreds of digits before the point.
        std::string line(std::snprintf(nullptr, 0, format, value), '\0');
        std::snprintf(line.data(), line.size() + 1, format, value);
        text += line;
    }
    return text;
}

bool WriteParameterFile(const std::string &path, const ModelParameters &parameters)
{
    const std::string text = FormatParameterFile(parameters);
    // A file that exists but may not be written stays untouched, as a direct
    // write would have left it.
    if (access(path.c_str(), F_OK) == 0 && access(path.c_str(), W_OK) != 0)
        return false;
    const std::string temporary = path + ".tmp";
    File file(std::fopen(temporary.c_str(), "w"));
    if (!file)
        return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size()
            && std::fflush(file.get()) == 0 && fsync(fileno(file.get())) == 0;
    const bool closed = std::fclose(file.release()) == 0;
    if (!written || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
