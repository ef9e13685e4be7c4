// The point text file: reader rules (headers, separators, line ends, closing lines),
// the writer's number format, and independence from the process locale.

#include "IoTestSupport.h"

#include "common/exception/InvalidFileFormatException.h"
#include "orlin/core/Point.h"
#include "orlin/core/PointSet.h"
#include "orlin/io/TpoPointSetExporter.h"
#include "orlin/io/TpoPointSetImporter.h"

#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <locale>
#include <map>
#include <set>
#include <tuple>

using common::exception::InvalidFileFormatException;
using tin::core::Point;
using tin::core::PointSet;
using tin::io::TpoPointSetExporter;
using tin::io::TpoPointSetImporter;

namespace {

using Xyz = std::tuple<double, double, double>;

PointSet readText(const std::string& name, const std::string& text) {
    const std::string path = iotest::scratchFile(name);
    iotest::writeFile(path, text);
    return TpoPointSetImporter().importPointSet(path.c_str());
}

// Position and elevation of every point with its id.
std::map<Xyz, int> idsByPoint(const PointSet& set) {
    std::map<Xyz, int> ids;
    for (const auto& p : set.allPoints()) {
        ids[{p->x(), p->y(), p->elevation()}] = p->id();
    }
    return ids;
}

// Expects "Invalid file format" naming the file and the given line.
void expectFormatError(const std::string& name, const std::string& text, int line) {
    const std::string path = iotest::scratchFile(name);
    iotest::writeFile(path, text);
    try {
        TpoPointSetImporter().importPointSet(path.c_str());
        ADD_FAILURE() << "no exception for " << name;
    } catch (const InvalidFileFormatException& e) {
        EXPECT_EQ(e.message(), "Invalid file format");
        EXPECT_EQ(e.fileName(), path);
        EXPECT_EQ(e.line(), line) << name;
    }
}

struct CommaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

// Switches the process to a comma-decimal locale for the test's duration: the C++
// global locale always, the C locale too where the system has one.
class CommaDecimalLocale {
public:
    CommaDecimalLocale() : m_previous(std::locale::global(std::locale(std::locale::classic(), new CommaDecimal))) {
        const char* c = std::setlocale(LC_NUMERIC, nullptr);
        m_previousC = c ? c : "C";
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "nl_NL.UTF-8"}) {
            if (std::setlocale(LC_NUMERIC, name)) {
                break;
            }
        }
    }
    ~CommaDecimalLocale() {
        std::locale::global(m_previous);
        std::setlocale(LC_NUMERIC, m_previousC.c_str());
    }

private:
    std::locale m_previous;
    std::string m_previousC;
};

} // namespace

TEST(TpoPointSetImporterTest, WholeFilesReadAsTheirPointLinesWithTheLastIdOfARepeat) {
    struct Case {
        const char* text;
        std::map<Xyz, int> points;
    };
    const Case cases[] = {
        {"1,2,3\n4 5 6\n7, 8\t9\n", {{{1, 2, 3}, 0}, {{4, 5, 6}, 1}, {{7, 8, 9}, 2}}},
        // Header lines before the first point; none becomes a point (at the origin, say).
        {"Survey\nriver bank\nx y z\nX,Y,Z\nEasting Northing Height Code\n\n100.5,200.25,3.125\n101,201,4\n",
         {{{100.5, 200.25, 3.125}, 0}, {{101, 201, 4}, 1}}},
        {"1,2,3\n4,5,6", {{{1, 2, 3}, 0}, {{4, 5, 6}, 1}}},
        {"1,2,3\n4,5,6\n\n", {{{1, 2, 3}, 0}, {{4, 5, 6}, 1}}},
        {"1,2,3\n4,5,6\nEND\n", {{{1, 2, 3}, 0}, {{4, 5, 6}, 1}}},
        {"1,1,1\n2,2,2\n1,1,1\n3,3,3\n", {{{1, 1, 1}, 2}, {{2, 2, 2}, 1}, {{3, 3, 3}, 3}}},
        {"x,y,z\r\n1.5,2.5,3.5\r\n1e3,-2.5E-1,+4\r\n\r\n", {{{1.5, 2.5, 3.5}, 0}, {{1000, -0.25, 4}, 1}}},
        {"", {}},
        {"x y z\nno points here\n", {}},
        {"nan,1,2\ninf,1,2\n", {}}, // non-finite lines are no points
    };
    int k = 0;
    for (const Case& c : cases) {
        EXPECT_EQ(idsByPoint(readText("whole" + std::to_string(k++) + ".tpo", c.text)), c.points) << c.text;
    }
}

TEST(TpoPointSetImporterTest, NonPointLineBetweenPointsIsRejectedWithItsLine) {
    expectFormatError("blank.tpo", "1,2,3\n\n4,5,6\n", 2);
    expectFormatError("crlfblank.tpo", "1,2,3\r\n\r\n4,5,6\r\n", 2);
    expectFormatError("words.tpo", "h\n1,2,3\n4,5,6\nx y z\n7,8,9\n", 4);
    // Three tokens that are not all numbers are no point, even on the last line.
    expectFormatError("lastword.tpo", "1,2,3\n4,5,abc\n", 2);
    expectFormatError("nanafter.tpo", "1,2,3\n4,nan,6\n", 2);
}

TEST(TpoPointSetImporterTest, CommaDecimalLocaleNeitherTruncatesNorWritesCommas) {
    CommaDecimalLocale locale;
    const PointSet read = readText("locale.tpo", "12.5,3.25,7.75\n");
    EXPECT_EQ(idsByPoint(read), (std::map<Xyz, int>{{{12.5, 3.25, 7.75}, 0}}));

    const std::string path = iotest::scratchFile("locale-out.tpo");
    PointSet set;
    set.addPoint(Point(12345.5, 0.25, -7.125));
    TpoPointSetExporter().exportPointSet(path.c_str(), set);
    EXPECT_EQ(iotest::readFile(path), "12345.5,0.25,-7.125\n");
}

TEST(TpoPointSetExporterTest, PrecisionCountsSignificantDigits) {
    PointSet set;
    set.addPoint(Point(12.34567890123, 1e-20, 2.5e15));
    const std::string path = iotest::scratchFile("precision.tpo");
    TpoPointSetExporter().exportPointSet(path.c_str(), set);
    EXPECT_EQ(iotest::readFile(path), "12.3456789,1e-20,2.5e+15\n");
    TpoPointSetExporter(3).exportPointSet(path.c_str(), set);
    EXPECT_EQ(iotest::readFile(path), "12.3,1e-20,2.5e+15\n");
}

TEST(TpoPointSetExporterTest, FullPrecisionRoundTripsEveryPoint) {
    PointSet set;
    for (int i = 0; i < 500; ++i) {
        set.addPoint(Point(512345.678901 + i * 0.1, 5412345.123457 - i * 0.3, 100.0 / (i + 3)));
    }
    const std::string path = iotest::scratchFile("roundtrip.tpo");
    TpoPointSetExporter(17).exportPointSet(path.c_str(), set);
    const PointSet back = TpoPointSetImporter().importPointSet(path.c_str());
    std::set<Xyz> written;
    std::set<Xyz> read;
    for (const auto& p : set.allPoints()) {
        written.insert({p->x(), p->y(), p->elevation()});
    }
    for (const auto& p : back.allPoints()) {
        read.insert({p->x(), p->y(), p->elevation()});
    }
    EXPECT_EQ(read, written);
}

// Lines near the edge of the common "x,y,z" form, between two points: each is a point with
// the given numbers, or a format error on line 2. Odd white space inside a token, a doubled
// sign, a fourth value or trailing text must not slip through as a point; trimmed white
// space around a token must not make one fail.
TEST(TpoPointSetImporterTest, UnusualLinesBetweenPointsAreJudgedTokenByToken) {
    struct Case {
        const char* line;
        bool point;
        Xyz xyz;
    };
    const Case cases[] = {
        {"+1,+2,+3", true, {1, 2, 3}},
        {"1e3,2E-2,-3.5", true, {1000, 0.02, -3.5}},
        {" 1 ,\t2 , 3 ", true, {1, 2, 3}},
        {"1\r,2,3", true, {1, 2, 3}},
        {"1\v,2,3", true, {1, 2, 3}},
        {"1,2,3\r", true, {1, 2, 3}},
        {"\f1,2,3", true, {1, 2, 3}},
        {"1\v2,3,4", false, {}},
        {"1\r2,3", false, {}},
        {"++1,2,3", false, {}},
        {"+-1,2,3", false, {}},
        {"1,2,3,4", false, {}},
        {"1,2,3 x", false, {}},
        {"0x10,2,3", false, {}},
        {"1,2,nan", false, {}},
        {"1,2,1e999", false, {}},
        {"1;2;3", false, {}},
        {"1,2,", false, {}},
    };
    int k = 0;
    for (const Case& c : cases) {
        const std::string name = "unusual" + std::string(1, static_cast<char>('a' + k++)) + ".tpo";
        const std::string text = std::string("10,10,10\n") + c.line + "\n20,20,20\n";
        if (!c.point) {
            expectFormatError(name, text, 2);
            continue;
        }
        EXPECT_EQ(idsByPoint(readText(name, text)),
                  (std::map<Xyz, int>{{{10, 10, 10}, 0}, {c.xyz, 1}, {{20, 20, 20}, 2}}))
            << c.line;
    }
}

namespace {

// The shortest text that reads back as exactly v.
std::string numberText(double v) {
    char buffer[64];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, v);
    return std::string(buffer, r.ptr);
}

} // namespace

TEST(TpoPointSetImporterTest, LongFilesReadLikeTheirLinesOneByOne) {
    // Far more lines than one parsed block (enough to be parsed on a second thread while
    // the lines before are interned), with every awkward form spread over the blocks:
    // header lines, CRLF ends, tabs and spaces, exponents and signs, repeated
    // points (the later line's id wins) and a closing line. The oracle is a plain
    // split-and-convert of the same lines.
    std::string text = "Survey of the reach\r\nx\ty\tz\n";
    std::map<Xyz, int> expected;
    int id = 0;
    for (int k = 0; k < 270000; ++k) {
        const double x = 600000.0 + (k % 997) * 0.125;
        const double y = 5400000.0 + (k / 997) * 0.25;
        const double z = (k % 13 == 0) ? 1.5e2 : -3.0 + 0.001 * k;
        const char* separators[] = {",", "\t", " , ", "  "};
        const char* sep = separators[k % 4];
        std::string zText = k % 13 == 0 ? "1.5e2" : (k % 7 == 0 ? "+" : "") + numberText(z);
        if (k % 7 == 0 && z < 0) {
            zText = numberText(z);
        }
        text += numberText(x) + sep + numberText(y) + sep + zText + (k % 5 == 0 ? "\r\n" : "\n");
        expected[{x, y, z}] = id++;
        if (k % 4999 == 0) { // the same point again, later
            text += numberText(x) + "," + numberText(y) + "," + numberText(z) + "\n";
            expected[{x, y, z}] = id++;
        }
    }
    text += "END\n\n";
    const PointSet set = readText("long.tpo", text);
    EXPECT_EQ(idsByPoint(set), expected);
    EXPECT_EQ(set.allPoints().size(), expected.size());

    // An error line far past the first block still names its own line, also when the
    // points before it are being interned meanwhile.
    std::string broken = "x,y,z\n";
    for (int k = 0; k < 270000; ++k) {
        broken += numberText(k) + ",0,1\n";
    }
    broken += "1,2,three\n4,5,6\n";
    expectFormatError("long-broken.tpo", broken, 270002);
}
