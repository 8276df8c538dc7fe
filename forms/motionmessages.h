#pragma once

#include <QString>

struct ComputationRefusal;
struct MotionWarning;
struct ParameterFileReading;

// The main window's sentences on what the reading of the parameter file and
// the computation report. %1, %2, ... stand for the figures the comment
// names; numbers are written as the C library's "%g" writes them.
struct MotionMessageTexts
{
    // %1 stop time, %2 time step, %3 steps needed, %4 steps allowed.
    QString TooManySteps = QStringLiteral(
        "Stop time %1 s with time step %2 s needs %3 integration steps; at most %4 are allowed. "
        "Choose a larger time step or a shorter stop time.");
    // %1 stop time, %2 print step, %3 samples needed, %4 samples allowed,
    // %5 the smallest print step that fits.
    QString TooManySamples = QStringLiteral(
        "Stop time %1 s with print step %2 s needs %3 samples; at most %4 are allowed. Choose a "
        "print step of at least %5 s or a shorter stop time.");
    // As TooManySamples, with the sampling interval as %2.
    QString TooManySampledSteps = QStringLiteral(
        "Stop time %1 s with sampling interval %2 s needs %3 samples; at most %4 are allowed. "
        "Choose a print step of at least %5 s or a shorter stop time.");
    QString OutOfMemory = QStringLiteral("Out of memory");

    // %1 print step.
    QString PrintStepNotPositive
        = QStringLiteral("The print step %1 s is not above 0: only the state at time 0 is shown.");
    // %1 time step.
    QString TimeStepNotPositive = QStringLiteral(
        "The time step %1 s is not above 0: nothing is integrated, and every sample repeats the "
        "state at time 0.");
    // %1 print step, %2 time step, %3 the time between two computed samples.
    QString TimesNotOfStates = QStringLiteral(
        "The print step %1 s is no whole multiple of the time step %2 s: the samples are %3 s "
        "apart, so the times shown (sample number times print step) are not those of the states "
        "shown. Choose a print step that is a whole multiple of the time step.");
    // %1 the time of the first such sample.
    QString NotNumbersFromTime = QStringLiteral(
        "The computation gives values that are not numbers (NAN or INF) from the time %1 s on. "
        "Check the parameters: the mass and the spring stiffness must be above 0, and the time "
        "step small enough for the motion.");
    QString NotNumbersInOrigin = QStringLiteral(
        "The computation gives values that are not numbers (NAN or INF) in the origin position. "
        "Check the parameters: the mass and the spring stiffness must be above 0, and the time "
        "step small enough for the motion.");

    // %1 the file, %2 the line, %3 its text.
    QString DecimalComma = QStringLiteral(
        "The parameter file %1 has a whole number followed by \",\" and digits on line %2 "
        "(\"%3\"): a \",\" typed as decimal point reads as two values and shifts the ones after "
        "it. The file needs \".\" as decimal point.");
    // %1 the file, %2 values read, %3 values in a whole file.
    QString EmptyFile = QStringLiteral(
        "The parameter file %1: only %2 of %3 values were read; the file is empty. The other "
        "parameters keep their previous values.");
    // As EmptyFile, %4 the line.
    QString MissingLine = QStringLiteral(
        "The parameter file %1: only %2 of %3 values were read; line %4 is missing or empty. The "
        "other parameters keep their previous values.");
    // As MissingLine, %5 the line's text.
    QString StoppedOnLine = QStringLiteral(
        "The parameter file %1: only %2 of %3 values were read; the reading stopped on line %4 "
        "(\"%5\"). The other parameters keep their previous values.");
};

// Why the computation was refused.
QString RefusalMessage(const MotionMessageTexts &texts, const ComputationRefusal &refusal);
// What is wrong with a result; empty when nothing is.
QString MotionWarningMessage(const MotionMessageTexts &texts, const MotionWarning &warning);
// What went wrong reading the file at path; empty when nothing did.
QString ReadingWarningMessage(
    const MotionMessageTexts &texts, const ParameterFileReading &reading, const QString &path);
