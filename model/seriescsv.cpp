#include "model/seriescsv.h"

#include "model/clocale.h"
#include "model/motionmodel.h"

#include <algorithm>
#include <cstdio>
#include <string>

bool WriteSeriesCsv(const MotionModel &model, float printStep, const CsvWriter &write)
{
    const ScopedCLocale cLocale;
    std::string piece = "index,time,coordinate,velocity,resistance_force,elastic_force,"
                        "driving_force\n";
    char number[32];
    const auto append = [&](const char *format, auto value) {
        const int length = std::snprintf(number, sizeof number, format, value);
        piece.append(number, std::size_t(length));
    };
    const SampleTimeText time(printStep);
    const int last = model.PlayableLastIndex();
    for (int i = 0; i <= last; ++i) {
        append("%d", i);
        piece += ',';
        time.Append(piece, std::size_t(i), ".");
        for (int s = 0; s < MotionModel::SeriesCount; ++s)
            append(",%.9g", double(model.ResultSeries[s][i]));
        piece += '\n';
        if (!PassFullPiece(piece, write))
            return false;
    }
    return piece.empty() || write(piece);
}

CsvTable SeriesTable(const MotionModel &model, float printStep)
{
    static const char *const Headers[MotionModel::SeriesCount]
        = { "x_m", "v_m_per_s", "F_resistance_N", "F_elastic_N", "F_drive_N" };
    const int rows = std::max(model.PlayableLastIndex() + 1, 0);
    CsvTable table;
    table.AddSampleTimes("t_s", std::size_t(rows), printStep);
    for (int s = 0; s < MotionModel::SeriesCount; ++s)
        table.AddColumnInPlace(Headers[s], { model.ResultSeries[s].get(), std::size_t(rows) });
    return table;
}
