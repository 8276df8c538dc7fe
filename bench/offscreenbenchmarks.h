#pragma once

#include "bench/runbenchmarks.h"

#include <QByteArray>

// RunBenchmarks under an Application (QGuiApplication, QApplication) on the
// offscreen platform: fonts, the locale and widgets need the object, not a
// screen.
template <typename Application>
int RunOffscreenBenchmarks(int argc, char **argv, benchmark::BenchmarkReporter &reporter)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Application application(argc, argv);
    return RunBenchmarks(argc, argv, reporter);
}
