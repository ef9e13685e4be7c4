// Helpers the benchmarks share: peak memory, a scratch directory, a square grid TIN, a home
// without display for application code and a console reporter that keeps each run's time so
// that ratios can be printed after the table.
// Header only: every benchmark is its own executable and includes what it uses.
#pragma once

#include "orlin/core/Point.h"
#include "orlin/core/PointFactory.h"
#include "orlin/core/Tin.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

namespace bench {

// Peak resident size of this process so far, in MB.
inline double peakResidentMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Reads a child's record (trivially copyable) from the pipe's read end, closes it and reaps
// the child; throws when the record is short or the child did not exit with 0.
template <typename Record>
Record childRecord(int readEnd, pid_t pid)
{
    Record r{};
    ssize_t const got = read(readEnd, &r, sizeof r);
    close(readEnd);
    int status = 0;
    waitpid(pid, &status, 0);
    if (got != static_cast<ssize_t>(sizeof r) || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("benchmark child failed");
    }
    return r;
}

// Runs run(n) in a forked child and returns its record (trivially copyable), so that every size
// starts from a fresh heap and its peak resident size is its own. `finish` sees the record in the
// child after the run (to read the child's peak, say).
template <typename Measure, typename Finish>
Measure inChild(Measure (*run)(int), int n, Finish finish)
{
    int fds[2];
    if (pipe(fds) != 0) {
        throw std::runtime_error("pipe failed");
    }
    pid_t const pid = fork();
    if (pid == 0) {
        close(fds[0]);
        Measure m;
        try {
            m = run(n);
            finish(m);
        } catch (...) {
            _exit(2);
        }
        ssize_t const written = write(fds[1], &m, sizeof m);
        _exit(written == static_cast<ssize_t>(sizeof m) ? 0 : 3);
    }
    close(fds[1]);
    return childRecord<Measure>(fds[0], pid);
}

// A value made on first use (`get`) and dropped by `drop`, so that main can destroy it while
// what it needs (the application object) still exists.
template <class T>
class MadeOnFirstUse {
public:
    T& get()
    {
        if (!m_value) {
            m_value = std::make_unique<T>();
        }
        return *m_value;
    }
    void drop() { m_value.reset(); }

private:
    std::unique_ptr<T> m_value;
};

// A directory under the system's temporary directory, unique to this process; made on first use.
class ScratchDir {
public:
    explicit ScratchDir(std::string const& prefix)
        : m_dir(std::filesystem::temp_directory_path() / (prefix + std::to_string(::getpid())))
    {
    }

    std::string file(std::string const& name) const
    {
        std::filesystem::create_directories(m_dir);
        return (m_dir / name).string();
    }

    void remove() const
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }

private:
    std::filesystem::path m_dir;
};

// A TIN over a grid of n x n nodes, two counter-clockwise triangles per cell:
// (i, j), (i + 1, j), (i + 1, j + 1) and (i, j), (i + 1, j + 1), (i, j + 1).
// node(i, j) gives the point at column i, row j; it is called once per node, i outer, j inner,
// so that a node function drawing random jitter sees the same order on every run.
template <class NodeAt>
tin::core::Tin gridTin(int n, NodeAt node)
{
    auto& factory = tin::core::PointFactory::instance();
    std::vector<std::shared_ptr<tin::core::Point>> points;
    points.reserve(static_cast<std::size_t>(n) * n);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            points.push_back(factory.factory(node(i, j), false));
        }
    }
    auto at = [&](int i, int j) -> std::shared_ptr<tin::core::Point> const& {
        return points[static_cast<std::size_t>(i) * n + j];
    };
    tin::core::Tin tin;
    for (int i = 0; i + 1 < n; ++i) {
        for (int j = 0; j + 1 < n; ++j) {
            tin.addTriangle(at(i, j), at(i + 1, j), at(i + 1, j + 1));
            tin.addTriangle(at(i, j), at(i + 1, j + 1), at(i, j + 1));
        }
    }
    return tin;
}

// n x n nodes from (x0, y0) at the given spacing on the surface z(x, y).
template <class Height>
tin::core::Tin regularGridTin(double x0, double y0, double spacing, int n, Height z)
{
    return gridTin(n, [&](int i, int j) {
        double const x = x0 + i * spacing, y = y0 + j * spacing;
        return tin::core::Point(x, y, z(x, y));
    });
}

// Console output as usual, and each run's adjusted real time (in the run's unit) by name.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(std::vector<Run> const& runs) override
    {
        for (Run const& run : runs) {
            times[run.benchmark_name()] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // For runs in milliseconds with a fixed iteration count: both times in seconds and their
    // ratio, one line; nothing when either run was filtered out.
    void printRatio(std::string const& name, std::string const& bare, char const* note,
                    std::string const& suffix = "/iterations:3") const
    {
        auto const a = times.find(name + suffix);
        auto const b = times.find(bare + suffix);
        if (a == times.end() || b == times.end()) {
            return;
        }
        std::printf("%-22s %8.3f s  %-22s %8.3f s  ratio %6.2f  %s\n", name.c_str(), a->second / 1000.0,
                    bare.c_str(), b->second / 1000.0, a->second / b->second, note);
    }

    // For a run in milliseconds with a fixed iteration count: its time, one line; nothing when
    // it was filtered out.
    void printTime(std::string const& name, char const* note, std::string const& suffix = "/iterations:20") const
    {
        auto const it = times.find(name + suffix);
        if (it != times.end()) {
            std::printf("%-22s %8.1f ms  %s\n", name.c_str(), it->second, note);
        }
    }

    std::map<std::string, double> times;
};

// For benchmarks of application code: Qt's platform "offscreen" unless the caller chose one,
// and HOME and XDG_CONFIG_HOME in `home` (made here), so that the run needs no display and
// reads and writes no user's settings or workspace. Call before the application object exists.
inline void useOffscreenScratchHome(std::string const& home)
{
    std::filesystem::create_directories(home);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
}

using Clock = std::chrono::steady_clock;

inline double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Seconds that dropping each benchmark's result took, per iteration, by benchmark name.
inline std::map<std::string, double>& destructionSeconds() {
    static std::map<std::string, double> seconds;
    return seconds;
}

// Times make() alone (manual time) and the destruction of what it made apart; the mean
// destruction goes to the counter destroy_s and to destructionSeconds().
template <typename Make>
inline void timeApart(benchmark::State& state, const char* name, Make make) {
    double destroyed = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        std::optional<decltype(make())> result(make());
        state.SetIterationTime(secondsSince(start));
        benchmark::DoNotOptimize(&*result);
        const Clock::time_point made = Clock::now();
        result.reset();
        destroyed += secondsSince(made);
    }
    const double mean = destroyed / static_cast<double>(state.iterations());
    state.counters["destroy_s"] = mean;
    destructionSeconds()[name] = mean;
}

// The sizes of a "--sizes=1000,2000" option, taken off the command line before Google
// Benchmark reads it; `defaults` when there is none.
inline std::vector<long> takeSizes(int& argc, char** argv, std::vector<long> defaults)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--sizes=", 8) == 0) {
            defaults.clear();
            std::stringstream list(argv[i] + 8);
            for (std::string item; std::getline(list, item, ',');) {
                defaults.push_back(std::stol(item));
            }
            for (int j = i; j + 1 < argc; ++j) {
                argv[j] = argv[j + 1];
            }
            --argc;
            --i;
        }
    }
    return defaults;
}

} // namespace bench
