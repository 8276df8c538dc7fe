#pragma once

#include <array>
#include <string>

// The fourteen parameters by name; each one's value is its place in the file
// and in ModelParameters::fields().
enum class ParameterField {
    TimeStep,
    PrintStep,
    StopTime,
    Mass,
    Damping,
    Stiffness,
    ForceAmplitude,
    ForceFrequency,
    ForcePhase,
    PlaneAngle,
    Gravity,
    SpringLength,
    InitialDeflection,
    InitialVelocity,
};

constexpr int FieldIndex(ParameterField field)
{
    return static_cast<int>(field);
}

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

    static constexpr int Count = FieldIndex(ParameterField::InitialVelocity) + 1;

    // The fields in file order, for code that treats them alike.
    std::array<float *, Count> fields();
    std::array<const float *, Count> fields() const;

    bool operator==(const ModelParameters &) const = default;
};

// The two build variants differ only in the parameter file's name.
enum class ParameterFileNaming {
    AfterExecutable, // "<name up to the first dot>.dat" beside the executable
    Fixed, // always "mirvane.dat" beside the executable
};

// The parameter file of an executable at executablePath ("/" separated).
std::string ParameterFilePathFor(const std::string &executablePath, ParameterFileNaming naming);

// How far ReadParameterFile got. The problem line is the first where the
// reading stopped short of the fourteen values, or one where a whole number
// is followed by its "," and digits at once ("0,01") in a file that does not
// hold exactly fourteen values: most likely a "," typed as decimal point,
// which reads as two numbers and shifts the rest, so that the reading stops
// early or a fifteenth value follows. Numbers with a point ("0.01,0.01"),
// apart ("1, 2") or fourteen in all ("10,2" among them), on one line or not,
// are what the format allows.
struct ParameterFileReading
{
    int ValuesRead = 0;
    int ProblemLine = 0; // 1-based; 0 when there is none
    std::string ProblemText; // the line's start, control characters as "?"
    bool DecimalComma = false;
    bool EmptyFile = false;

    bool HasProblem() const { return ProblemLine != 0; }
};

// Reads the file with the rules of the C format "%f,%f,...,%f" and "." as the
// only decimal point, whatever the process locale; a number is decimal only,
// never hexadecimal, "inf" or "nan", and within the float range. Reading
// stops silently at the first character that does not fit; the fields not
// reached keep their values. A save in place is waited for, briefly, so that
// the reading never meets it half-way. Returns false, changing nothing,
// unless path is a regular file that opens; otherwise fills reading when it
// is given.
bool ReadParameterFile(
    const std::string &path, ModelParameters &parameters, ParameterFileReading *reading = nullptr);

// The file's text: one "%5.5f,\n" line per value ("%5.6f,\n" for the plane
// angle and the initial deflection), always with ".".
std::string FormatParameterFile(const ModelParameters &parameters);

// The smallest magnitude other than 0 that line `field` (0-based) holds: one
// unit of its last decimal.
double SmallestWrittenValue(int field);
// value as line `field` gives it back once written: rounded to the line's decimals.
float WrittenValue(int field, float value);
// Whether value, not 0, is written on line `field` as zero and so lost.
bool WrittenAsZero(int field, float value);

// Replaces the file with FormatParameterFile's text. Where a rename keeps
// what the user set up (the folder writable, the file theirs, with one link
// and no extended attributes such as an ACL), the text goes to a new file in
// the same folder, unnamed until just before it takes the file's place at
// once; if that fails, as on a full disk, a text no longer than the old one
// is written in place instead. Otherwise the text is written over the
// existing file in place, keeping its owner, group, links, attributes and
// inode: the file is never emptied, is locked against the reader meanwhile,
// and reads as the old text or the new one after a kill at any point; when
// the write fails part-way, the old text is written back. A symbolic link is
// written through to its target, and the target's permission bits are kept.
// Returns false when the file may not be written or the write fails; the old
// file then stays as it was. No temporary file remains; one that a save
// killed just before its rename left behind goes with the next save.
bool WriteParameterFile(const std::string &path, const ModelParameters &parameters);

// The calls of WriteParameterFile whose failure nothing else could bring
// about (fsync for the file and its folder); tests put failing ones in. A
// null call stands for the system's. Returns the calls replaced.
struct ParameterFileCalls
{
    int (*fsync)(int) = nullptr;
    int (*rename)(const char *, const char *) = nullptr;
};
ParameterFileCalls SetParameterFileCalls(ParameterFileCalls calls);
