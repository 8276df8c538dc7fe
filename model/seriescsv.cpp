#include "model/seriescsv.h"

#include "model/clocale.h"
#include "model/motionmodel.h"

#include <cstdio>
#include <string>

bool WriteSeriesCsv(const MotionModel &model, float printStep,
    const std::function<bool(std::string_view piece)> &write)
{
    constexpr std::size_t PieceSize = 1 << 16;
    const ScopedCLocale cLocale;
    std::string piece = "index,time,coordinate,velocity,resistance_force,elastic_force,"
                        "driving_force\n";
    char number[32];
    const auto append = [&](const char *format, auto value) {
        const int length = std::snprintf(number, sizeof number, format, value);
        piece.append(number, std::size_t(length));
    };
    const int last = model.PlayableLastIndex();
    for (int i = 0; i <= last; ++i) {
        append("%d", i);
        append(",%.9g", double(static_cast<float>(i * double(printStep))));
        for (int s = 0; s < MotionModel::SeriesCount; ++s)
            append(",%.9g", double(model.ResultSeries[s][i]));
        piece += '\n';
        if (piece.size() >= PieceSize) {
            if (!write(piece))
                return false;
            piece.clear();
        }
    }
    return piece.empty() || write(piece);
}
