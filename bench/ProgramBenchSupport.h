// The frame of a benchmark of the program's own classes: a Qt application with the program's
// organisation and application names, a home, settings store and workspace of the run's own
// in a scratch folder, no display needed. Include after BenchSupport.h.
#pragma once

#include "BenchSupport.h"

#include <QApplication>
#include <QString>

#include <benchmark/benchmark.h>

#include <string>

namespace bench {

// Runs the benchmarks of the command line inside an application: setUp(scratch) before them,
// report(reporter) after them (ratios, peak memory), tearDown() while the application still
// exists; then the scratch folder (named after `prefix` and the process) goes.
template <class SetUp, class Report, class TearDown>
int runInProgram(int argc, char** argv, const std::string& prefix, SetUp setUp, Report report,
                 TearDown tearDown)
{
    benchmark::Initialize(&argc, argv);
    const ScratchDir scratch(prefix);
    useOffscreenScratchHome(scratch.file("home"));
    {
        QApplication application(argc, argv);
        QApplication::setOrganizationName(QStringLiteral("KORV/DASEL"));
        QApplication::setApplicationName(QStringLiteral("Movarin"));
        setUp(scratch);

        RatioReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        report(reporter);
        tearDown();
        benchmark::Shutdown();
    }
    scratch.remove();
    return 0;
}

} // namespace bench
