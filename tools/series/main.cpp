// mirvane-series: computes the motion for a parameter file and writes the
// sampled series as CSV (with --export as the program exports them), or a
// summary with --info.

#include "model/clocale.h"
#include "model/modelparameters.h"
#include "model/motionmodel.h"
#include "model/seriescsv.h"

#include <clocale>
#include <cstdio>
#include <exception>
#include <string>
#include <unistd.h>

namespace {

const char Usage[] = "Usage: mirvane-series [--info | --export] [--strict] FILE\n"
                     "Computes the motion for the parameter file FILE and writes the sampled\n"
                     "series as CSV (index,time,coordinate,velocity,resistance_force,\n"
                     "elastic_force,driving_force), one row per sample 0 ... last_sample_index.\n"
                     "  --info    write key=value lines: last sample index, origin position,\n"
                     "            sampling interval, samples computed, ranges of series 0-3\n"
                     "  --export  write the CSV as the program exports it: the header with\n"
                     "            units (t_s,x_m,v_m_per_s,F_resistance_N,F_elastic_N,\n"
                     "            F_drive_N), the times with the print step's decimals,\n"
                     "            every other number in the shortest form that reads back\n"
                     "            to the same float, zero without a sign\n"
                     "  --strict  fail, instead of warning on stderr, when the file holds\n"
                     "            fewer than fourteen values or a \",\" typed as decimal\n"
                     "            point, or when the result shows no motion, values that\n"
                     "            are no numbers, or samples not at the times shown\n"
                     "  --help    show this text\n";

// printf into a string of the size the text needs, with "." as decimal point.
template <typename... Values> std::string formatted(const char *format, Values... values)
{
    const ScopedCLocale cLocale;
    std::string text(std::snprintf(nullptr, 0, format, values...), '\0');
    std::snprintf(text.data(), text.size() + 1, format, values...);
    return text;
}

std::string refusalMessage(const ComputationRefusal &refusal)
{
    if (refusal.reason == ComputationRefusal::TooManySteps)
        return formatted("Stop time %g s with time step %g s needs %.0f integration steps; at most "
                         "%.0f are allowed. Choose a larger time step or a shorter stop time.",
            refusal.stopTime, refusal.step, refusal.needed, refusal.allowed);
    const char *spacing
        = refusal.reason == ComputationRefusal::TooManySamples ? "print step" : "sampling interval";
    return formatted("Stop time %g s with %s %g s needs %.0f samples; at most %.0f are allowed. "
                     "Choose a print step of at least %.6g s or a shorter stop time.",
        refusal.stopTime, spacing, refusal.step, refusal.needed, refusal.allowed,
        refusal.fittingPrintStep);
}

std::string readingWarning(const ParameterFileReading &reading, const std::string &path)
{
    const std::string file = "The parameter file " + path;
    const std::string line = "line " + std::to_string(reading.ProblemLine);
    const std::string quoted = "\"" + reading.ProblemText + "\"";
    if (reading.DecimalComma)
        return file + " has a whole number followed by \",\" and digits on " + line + " (" + quoted
            + "): a \",\" typed as decimal point reads as two values and shifts the ones after "
              "it. The file needs \".\" as decimal point.";
    std::string what;
    if (reading.EmptyFile)
        what = "the file is empty";
    else if (reading.ProblemText.empty())
        what = line + " is missing or empty";
    else
        what = "the reading stopped on " + line + " (" + quoted + ")";
    return file + ": only " + std::to_string(reading.ValuesRead) + " of "
        + std::to_string(ModelParameters::Count) + " values were read; " + what
        + ". The other parameters keep their previous values.";
}

// The main window's words for what is wrong with a result; empty when nothing.
std::string motionWarning(const MotionWarning &warning)
{
    std::string text;
    const auto add
        = [&text](const std::string &sentence) { text += (text.empty() ? "" : " ") + sentence; };
    switch (warning.stillness) {
    case MotionWarning::Moving:
        break;
    case MotionWarning::PrintStepNotPositive:
        add(formatted("The print step %g s is not above 0: only the state at time 0 is shown.",
            warning.printStep));
        break;
    case MotionWarning::TimeStepNotPositive:
        add(formatted("The time step %g s is not above 0: nothing is integrated, and every "
                      "sample repeats the state at time 0.",
            warning.timeStep));
        break;
    }
    if (warning.timesNotOfStates)
        add(formatted("The print step %g s is no whole multiple of the time step %g s: the "
                      "samples are %g s apart, so the times shown (sample number times print "
                      "step) are not those of the states shown. Choose a print step that is a "
                      "whole multiple of the time step.",
            warning.printStep, warning.timeStep, warning.sampleSpacing));
    const char *checkParameters = "Check the parameters: the mass and the spring stiffness must "
                                  "be above 0, and the time step small enough for the motion.";
    switch (warning.nonFinite) {
    case MotionWarning::Finite:
        break;
    case MotionWarning::FromTime:
        add(formatted("The computation gives values that are not numbers (NAN or INF) from the "
                      "time %g s on. %s",
            warning.nonFiniteTime, checkParameters));
        break;
    case MotionWarning::InOrigin:
        add(formatted("The computation gives values that are not numbers (NAN or INF) in the "
                      "origin position. %s",
            checkParameters));
        break;
    }
    return text;
}

int fail(const std::string &message)
{
    std::fprintf(stderr, "mirvane-series: %s\n", message.c_str());
    return 1;
}

void writeInfo(const MotionModel &model)
{
    static const char *const RangeNames[MotionModel::RangeCount]
        = { "coordinate", "velocity", "resistance_force", "elastic_force" };
    std::printf("last_sample_index=%.9g\n", model.LastSampleIndex);
    std::printf("origin_position=%.9g\n", model.OriginPosition);
    std::printf(
        "sampling_interval_steps=%lld\n", static_cast<long long>(model.SamplingIntervalSteps()));
    std::printf("samples_computed=%d\n", model.SamplesComputed());
    for (int r = 0; r < MotionModel::RangeCount; ++r) {
        std::printf("%s_min=%.9g\n", RangeNames[r], model.SeriesRanges[r].min);
        std::printf("%s_max=%.9g\n", RangeNames[r], model.SeriesRanges[r].max);
    }
}

// "computing: 42% (42000000 of 100000000 steps)", rewritten in place when the
// percentage changes.
struct ShowProgress
{
    long long shown = -1;
    bool operator()(std::int64_t done, std::int64_t total)
    {
        const long long percent = total > 0 ? done * 100 / total : 0;
        if (percent != shown) {
            shown = percent;
            std::fprintf(stderr, "\rcomputing: %lld%% (%lld of %lld steps)", percent,
                static_cast<long long>(done), static_cast<long long>(total));
        }
        return true;
    }
};

} // namespace

int main(int argc, char **argv)
{
    // Like the program, run under the user's locale; the output still uses ".".
    std::setlocale(LC_ALL, "");

    if (argc == 2 && (argv[1] == std::string("--help") || argv[1] == std::string("-h"))) {
        std::fputs(Usage, stdout);
        return 0;
    }
    bool info = false, exported = false, strict = false;
    int at = 1;
    for (; at < argc - 1; ++at) {
        const std::string option = argv[at];
        if (option == "--info")
            info = true;
        else if (option == "--export")
            exported = true;
        else if (option == "--strict")
            strict = true;
        else
            break;
    }
    if (at != argc - 1 || argv[at][0] == '-' || argv[at][0] == '\0' || (info && exported))
        return fail("bad arguments; see mirvane-series --help");

    const std::string path = argv[at];
    ModelParameters parameters;
    ParameterFileReading reading;
    if (!ReadParameterFile(path, parameters, &reading))
        return fail("cannot open '" + path + "'");
    if (reading.HasProblem()) {
        const std::string warning = readingWarning(reading, path);
        if (strict)
            return fail(warning);
        std::fprintf(stderr, "mirvane-series: warning: %s\n", warning.c_str());
    }

    try {
        MotionModel model;
        model.AllocateSeries(parameters);
        // Progress only for a person watching: a log or a pipe gets none.
        const bool watched = isatty(fileno(stderr));
        model.ComputeMotion(parameters, watched ? ComputationProgress(ShowProgress()) : nullptr);
        if (watched)
            std::fputs("\r\033[K", stderr);
        if (const MotionWarning warning = model.Warning(parameters); warning.Any()) {
            if (strict)
                return fail(motionWarning(warning));
            std::fprintf(stderr, "mirvane-series: warning: %s\n", motionWarning(warning).c_str());
        }
        if (info) {
            const ScopedCLocale cLocale;
            writeInfo(model);
        } else {
            const auto writeOut = [](std::string_view piece) {
                return std::fwrite(piece.data(), 1, piece.size(), stdout) == piece.size();
            };
            if (exported)
                WriteCsv(SeriesTable(model, parameters.PrintStep), CsvStyle(), writeOut);
            else
                WriteSeriesCsv(model, parameters.PrintStep, writeOut);
        }
    } catch (const ComputationTooLarge &refused) {
        return fail(refusalMessage(refused.Refusal()));
    } catch (const std::exception &exception) {
        return fail(exception.what());
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        return fail("cannot write the output");
    return 0;
}
