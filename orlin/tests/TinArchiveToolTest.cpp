// TIN archives checked by an outside reader: the test tool converts between point text
// and archives, and Python's tarfile and struct check what it wrote.

#include "IoTestSupport.h"

#include "orlin/core/Point.h"
#include "orlin/core/PointSet.h"
#include "orlin/io/TinTinExporter.h"
#include "orlin/io/TpoPointSetImporter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <set>
#include <sys/wait.h>
#include <tuple>

namespace {

using Xyz = std::tuple<double, double, double>;

const std::string kTool = std::string(MOVARIN_BINARY_DIR) + "/bin/tin_archive_tool";
const std::string kChecker = std::string(MOVARIN_SOURCE_DIR) + "/orlin/tests/tools/check_tin_archive.py";

int exitCode(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int runTool(const std::string& mode, const std::string& in, const std::string& out) {
    int status = 0;
    iotest::runCommand(kTool + " " + mode + " " + in + " " + out + " 2>&1", &status);
    return exitCode(status);
}

std::string check(const std::string& archive) {
    return iotest::runCommand("python3 " + kChecker + " " + archive + " 2>&1");
}

std::set<Xyz> vertexSet(const tin::core::Tin& tin) {
    std::set<Xyz> result;
    for (const auto& t : tin.allTriangles()) {
        for (int i = 0; i < 3; ++i) {
            result.insert({t->point(i)->x(), t->point(i)->y(), t->point(i)->elevation()});
        }
    }
    return result;
}

std::set<Xyz> pointSetOf(const tin::core::PointSet& set) {
    std::set<Xyz> result;
    for (const auto& p : set.allPoints()) {
        result.insert({p->x(), p->y(), p->elevation()});
    }
    return result;
}

} // namespace

TEST(TinArchiveToolTest, ArchivePassesPythonTarfileAndStructChecks) {
    const tin::core::Tin tin = iotest::gridTin(12, 7, 512000.25, 5410000.5);
    const std::string original = iotest::scratchFile("tool-in.tin");
    tin::io::TinTinExporter().exportTin(original.c_str(), tin);
    EXPECT_EQ(check(original), "OK 104 168\n");

    // Read and written again by the tool: still a valid archive of the same TIN.
    const std::string rewritten = iotest::scratchFile("tool-out.tin");
    ASSERT_EQ(runTool("tin2tin", original, rewritten), 0);
    EXPECT_EQ(check(rewritten), "OK 104 168\n");

    // Back to point text: exactly the TIN's vertices.
    const std::string text = iotest::scratchFile("tool-out.tpo");
    ASSERT_EQ(runTool("tin2tpo", rewritten, text), 0);
    EXPECT_EQ(pointSetOf(tin::io::TpoPointSetImporter().importPointSet(text.c_str())), vertexSet(tin));
}

TEST(TinArchiveToolTest, CheckerRejectsAClockwiseTriangle) {
    // Guards the oracle itself: a clockwise triangle and an unused point must fail it.
    tin::core::Tin tin;
    tin.addTriangle(tin::core::Point(0, 0, 0), tin::core::Point(0, 1, 0), tin::core::Point(1, 0, 0));
    const std::string path = iotest::scratchFile("clockwise.tin");
    tin::io::TinTinExporter().exportTin(path.c_str(), tin);
    EXPECT_EQ(check(path).substr(0, 4), "FAIL");
}

TEST(TinArchiveToolTest, PointTextTriangulatedIntoACheckedArchiveAndBack) {
    // A jittered grid with a smooth surface.
    const std::string text = iotest::scratchFile("survey.tpo");
    {
        std::ofstream out(text);
        out.imbue(std::locale::classic());
        out.precision(17);
        out << "x,y,z\n";
        for (int i = 0; i < 30; ++i) {
            for (int j = 0; j < 20; ++j) {
                const double x = i + 0.3 * std::sin(7.0 * i + 3.0 * j);
                const double y = j + 0.3 * std::cos(5.0 * i - 2.0 * j);
                out << x << ',' << y << ',' << 10.0 * std::sin(0.2 * x) * std::cos(0.3 * y) << '\n';
            }
        }
    }
    const std::string archive = iotest::scratchFile("survey.tin");
    const int rc = runTool("tpo2tin", text, archive);
    if (rc == 3) {
        GTEST_SKIP() << "the triangulation is not part of this build";
    }
    ASSERT_EQ(rc, 0);
    const std::string result = check(archive);
    EXPECT_EQ(result.substr(0, 7), "OK 600 ") << result;

    const std::string back = iotest::scratchFile("survey-back.tpo");
    ASSERT_EQ(runTool("tin2tpo", archive, back), 0);
    EXPECT_EQ(pointSetOf(tin::io::TpoPointSetImporter().importPointSet(back.c_str())),
              pointSetOf(tin::io::TpoPointSetImporter().importPointSet(text.c_str())));
}
