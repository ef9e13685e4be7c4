// links: varnel
//
// The cross-section CSV import through the program: a file of n sections imported with the
// group's "Import" into an edit-mode project over a small TIN, in an offscreen main window of
// 1000 x 800 pixels, at n = 1,000, 16,000 and 100,000.
//
// The file: line i reads "S<i>,<x>,0,<x>,1000" with x = 5 + i * 990 / n, over the TIN of
// a 10 m grid on 1 km square. The stage: the import answered with the file, until it returns
// and the window has painted, the view once more by a repaint of its own (the sections
// attached by one undo command, the browser row expanded, the last section selected); the view
// shows the TIN fitted before. Outside the timing, the group must hold the n sections, first
// and last names as written. Beside it, in the same process and on the same
// file: the bare read, the file's lines split by the program's CSV line parser and their four
// coordinates converted, as the importer reads them before it builds any item.
//
// The import is linear when its time per section stays put from size to size; its ratio to
// the bare read shows what building, attaching and painting the sections add to reading them.
// Every size runs in a process of its own (forked before any Qt object exists), twice, and
// reports its best.
//
// Options (before Google Benchmark's own): --sizes=1000,16000 runs only those sizes.
// BenchSupport.h (orlin) comes before any Qt header: Qt's keyword macros would spoil it.
#include "BenchSupport.h"

#include "movarin/sections/CrossSectionGroupItem.h"
#include "movarin/sections/CrossSectionGroupItemController.h"
#include "movarin/sections/CrossSectionItem.h"
#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/shell/EditModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/shell/MainWindow.h"
#include "movarin/shell/Project.h"

#include "brask/core/View.h"

#include <guimisc/StringSupport.h>
#include <guimisc/UserDialogScript.h>

#include <QApplication>
#include <QFile>
#include <QTextStream>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using bench::Clock;
using bench::secondsSince;

constexpr int kRuns = 2;

const bench::ScratchDir scratchDir("movarin_bench_section_csv_import_");

std::string csvFile(int n)
{
    return scratchDir.file("sections" + std::to_string(n) + ".csv");
}

void startApplication()
{
    static int argc = 1;
    static char name[] = "bench_section_csv_import";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("KORV/DASEL"));
    QApplication::setApplicationName(QStringLiteral("Movarin"));
}

void settle()
{
    for (int k = 0; k < 3; ++k) {
        QApplication::processEvents();
    }
}

void writeCsv(int n)
{
    std::FILE* out = std::fopen(csvFile(n).c_str(), "w");
    if (!out) {
        throw std::runtime_error("cannot write the CSV file");
    }
    const double d = 990.0 / n;
    for (int i = 0; i < n; ++i) {
        const double x = 5 + i * d;
        std::fprintf(out, "S%d,%.6f,0,%.6f,1000\n", i, x, x);
    }
    std::fclose(out);
}

/// Seconds of the bare read: lines split and their coordinates converted; the count of
/// good lines goes to `sections`.
double bareRead(const QString& path, int* sections)
{
    const Clock::time_point start = Clock::now();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        throw std::runtime_error("cannot read the CSV file");
    }
    QTextStream in(&file);
    int good = 0;
    double sum = 0;
    while (!in.atEnd()) {
        const QStringList fields = guimisc::StringSupport::parseCSVLine(in.readLine());
        bool ok = fields.size() >= 5;
        for (int k = 1; ok && k < 5; ++k) {
            sum += fields[k].toDouble(&ok);
        }
        good += ok ? 1 : 0;
    }
    benchmark::DoNotOptimize(sum);
    *sections = good;
    return secondsSince(start);
}

struct Record {
    double import = 0;
    double bare = 0;
    bool sameItems = false;
};

Record runImport(int n)
{
    try {
        startApplication();
        auto* window = new varnel::MainWindow;  // never destroyed: the process ends here
        window->resize(1000, 800);
        window->show();
        settle();
        window->newEditProject();
        settle();
        auto* edit = qobject_cast<varnel::EditModeMainWindow*>(window->project()->projectWindow());
        if (!edit) {
            throw std::runtime_error("no edit-mode project window");
        }
        edit->setTin(bench::regularGridTin(0.0, 0.0, 10.0, 101, [](double x, double y) {
            return 20.0 + 0.01 * x + 0.002 * y;
        }));
        edit->view()->fit();
        settle();
        varnel::CrossSectionGroupItem* group = edit->model()->rootItem()->crossSectionGroupItem();
        auto* controller = dynamic_cast<varnel::CrossSectionGroupItemController*>(group->controller());
        if (!controller) {
            throw std::runtime_error("no cross-section group controller");
        }
        const QString path = QString::fromStdString(csvFile(n));
        Record r;
        int read = 0;
        r.bare = bareRead(path, &read);
        const Clock::time_point start = Clock::now();
        {
            guimisc::UserDialogScript script;
            script.answerFile(path);
            controller->importCSV();
            settle();
            edit->view()->repaint();
            if (!script.messageBoxes().empty()) {
                throw std::runtime_error("the import showed a message");
            }
        }
        r.import = secondsSince(start);
        const std::vector<varnel::CrossSectionItem*> sections = group->crossSections();
        r.sameItems = read == n && static_cast<int>(sections.size()) == n
                      && sections.front()->caption() == QStringLiteral("S0")
                      && sections.back()->caption() == QStringLiteral("S%1").arg(n - 1);
        return r;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "import of %d sections: %s\n", n, e.what());
        throw;
    }
}

std::map<long, std::vector<Record>>& results()
{
    static std::map<long, std::vector<Record>> bySize;
    return bySize;
}

void BM_Import(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    writeCsv(n);
    for (auto _ : state) {
        const Record r = bench::inChild(runImport, n, [](Record&) {});
        results()[n].push_back(r);
        state.SetIterationTime(r.import);
    }
}

void printTable()
{
    std::printf("\nbest of %d imports each\n", kRuns);
    std::printf("%8s %9s %8s %7s %12s  %s\n", "sections", "import s", "bare s", "ratio",
                "us/section", "imported");
    for (const auto& [n, records] : results()) {
        if (records.empty()) {
            continue;
        }
        double import = records.front().import;
        double bare = records.front().bare;
        bool same = true;
        for (const Record& r : records) {
            import = std::min(import, r.import);
            bare = std::min(bare, r.bare);
            same = same && r.sameItems;
        }
        std::printf("%8ld %9.3f %8.3f %7.1f %12.1f  %s\n", n, import, bare, import / bare,
                    1e6 * import / static_cast<double>(n), same ? "as written" : "DIFFERENT");
    }
}


} // namespace

int main(int argc, char** argv)
{
    const std::vector<long> sizes = bench::takeSizes(argc, argv, {1000, 16000, 100000});
    benchmark::Initialize(&argc, argv);
    bench::useOffscreenScratchHome(scratchDir.file("home"));
    for (long n : sizes) {
        benchmark::RegisterBenchmark("BM_Import", BM_Import)
            ->Arg(n)
            ->Iterations(kRuns)
            ->UseManualTime()
            ->Unit(benchmark::kSecond);
    }
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printTable();
    benchmark::Shutdown();
    scratchDir.remove();
    return 0;
}
