#pragma once

#include <array>
#include <string>

// The fourteen simulation parameters, in parameter-file order.
struct ModelParameters
{
    float TimeStep = 0;
    float PrintStep = 0;
    float StopTime = 0;
    float Mass = 0;
    float Damping = 0;
    float Stiffness = 0;
    float ForceAmplitude = 0;
    float ForceFrequency = 0;
    float ForcePhase = 0;
    float PlaneAngle = 0;
    float Gravity = 0;
    float SpringLength = 0;
    float InitialDeflection = 0;
    float InitialVelocity = 0;

    static constexpr int Count = 14;

    // The fields in file order, for code that treats them alike.
    std::array<float *, Count> fields();
    std::array<const float *, Count> fields() const;
};

// The two build variants differ only in the parameter file's name.
enum class ParameterFileNaming {
    AfterExecutable, // "<name up to the first dot>.dat" beside the executable
    Fixed, // always "mirvane.dat" beside the executable
};

// The parameter file of an executable at executablePath ("/" separated).
std::string ParameterFilePathFor(const std::string &executablePath, ParameterFileNaming naming);

// Reads the file with the C format "%f,%f,...,%f" and "." as the only decimal
// point, whatever the process locale. Reading stops silently at the first
// character that does not fit; the fields not reached keep their values.
// Returns false, changing nothing, when the file cannot be opened.
bool ReadParameterFile(const std::string &path, ModelParameters &parameters);

// The file's text: one "%5.5f,\n" line per value ("%5.6f,\n" for the plane
// angle and the initial deflection), always with ".".
std::string FormatParameterFile(const ModelParameters &parameters);

// Replaces the file with FormatParameterFile's text. The new text goes to a
// temporary file first, so a failed write leaves the old file intact.
// Returns false when the file cannot be written.
bool WriteParameterFile(const std::string &path, const ModelParameters &parameters);
