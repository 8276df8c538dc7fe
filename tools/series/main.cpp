// mirvane-series: computes the motion for a parameter file and writes the
// sampled series as CSV, or a summary with --info.

#include "clocale.h"
#include "modelparameters.h"
#include "motionmodel.h"
#include "seriescsv.h"

#include <clocale>
#include <cstdio>
#include <exception>
#include <string>

namespace {

const char Usage[] = "Usage: mirvane-series [--info] FILE\n"
                     "Computes the motion for the parameter file FILE and writes the sampled\n"
                     "series as CSV (index,time,coordinate,velocity,resistance_force,\n"
                     "elastic_force,driving_force), one row per sample 0 ... last_sample_index.\n"
                     "  --info  write key=value lines: last sample index, origin position,\n"
                     "          sampling interval, samples computed, ranges of series 0-3\n"
                     "  --help  show this text\n";

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
    std::printf("sampling_interval_steps=%lld\n",
            static_cast<long long>(model.SamplingIntervalSteps()));
    std::printf("samples_computed=%d\n", model.SamplesComputed());
    for (int r = 0; r < MotionModel::RangeCount; ++r) {
        std::printf("%s_min=%.9g\n", RangeNames[r], model.SeriesRanges[r].min);
        std::printf("%s_max=%.9g\n", RangeNames[r], model.SeriesRanges[r].max);
    }
}

} // namespace

int main(int argc, char **argv)
{
    // Like the program, run under the user's locale; the output still uses ".".
    std::setlocale(LC_ALL, "");

    const std::string first = argc > 1 ? argv[1] : "";
    if (argc == 2 && (first == "--help" || first == "-h")) {
        std::fputs(Usage, stdout);
        return 0;
    }
    const bool info = argc == 3 && first == "--info";
    if (!(info || (argc == 2 && !first.empty() && first[0] != '-')))
        return fail("bad arguments; see mirvane-series --help");

    const std::string path = argv[argc - 1];
    ModelParameters parameters;
    if (!ReadParameterFile(path, parameters))
        return fail("cannot open '" + path + "'");

    try {
        MotionModel model;
        model.AllocateSeries(parameters);
        model.ComputeMotion(parameters);
        if (info) {
            const ScopedCLocale cLocale;
            writeInfo(model);
        } else {
            WriteSeriesCsv(model, parameters.PrintStep, [](std::string_view piece) {
                return std::fwrite(piece.data(), 1, piece.size(), stdout) == piece.size();
            });
        }
    } catch (const std::exception &exception) {
        return fail(exception.what());
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        return fail("cannot write the output");
    return 0;
}
