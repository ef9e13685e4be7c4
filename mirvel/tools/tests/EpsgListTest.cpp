// The list writer, run for a few codes, writes exactly the lines the committed list holds for
// them; bad arguments fail without leaving a file behind.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string readBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

/// Splits at CR LF; a line end of any other form fails the test.
std::vector<std::string> crlfLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find("\r\n", pos);
        EXPECT_NE(end, std::string::npos) << "last line without CR LF";
        if (end == std::string::npos) {
            break;
        }
        const std::string line = text.substr(pos, end - pos);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
        lines.push_back(line);
        pos = end + 2;
    }
    return lines;
}

long codeOf(const std::string& definitionLine)
{
    return std::strtol(definitionLine.c_str() + 1, nullptr, 10);
}

class EpsgListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("epsglist_test_" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    int run(const fs::path& output, const std::string& codes)
    {
        const std::string command = std::string(EPSGLIST_PROGRAM) + " '" + output.string()
            + "' " + codes + " > '" + (m_dir / "log.txt").string() + "' 2>&1";
        return std::system(command.c_str());
    }

    fs::path m_dir;
};

} // namespace

TEST_F(EpsgListTest, WritesTheCommittedLinesForTheGivenCodes)
{
    const std::vector<std::string> committed =
        crlfLines(readBytes(fs::path(MOVARIN_SOURCE_DIR) / "mirvel/data/epsg.txt"));
    ASSERT_GT(committed.size(), 10000u);

    // The committed list: comment and definition alternate, codes ascend and occur once.
    std::map<long, std::pair<std::string, std::string>> byCode;
    long previous = 0;
    for (std::size_t i = 0; i + 1 < committed.size(); i += 2) {
        ASSERT_EQ(committed[i].rfind("# ", 0), 0u) << committed[i];
        ASSERT_EQ(committed[i + 1].front(), '<') << committed[i + 1];
        ASSERT_EQ(committed[i + 1].substr(committed[i + 1].size() - 3), " <>");
        const long code = codeOf(committed[i + 1]);
        ASSERT_GT(code, previous);
        previous = code;
        byCode[code] = {committed[i], committed[i + 1]};
    }
    ASSERT_EQ(committed.size() % 2, 0u);

    // Japan plane IX, geographic WGS 84 and Tokyo, UTM both ways, the list's last code, and a
    // system that has no PROJ.4 string (Polar Stereographic variant C), which both leave out.
    const std::vector<long> codes = {2451, 4301, 4326, 6677, 32611, 32760, previous, 2985};
    std::string arguments;
    for (long code : codes) {
        arguments += std::to_string(code) + " ";
    }
    const fs::path output = m_dir / "some.txt";
    ASSERT_EQ(run(output, arguments), 0) << readBytes(m_dir / "log.txt");

    std::vector<std::string> expected;
    for (long code : std::set<long>(codes.begin(), codes.end())) {
        const auto found = byCode.find(code);
        if (found != byCode.end()) {
            expected.push_back(found->second.first);
            expected.push_back(found->second.second);
        }
    }
    EXPECT_EQ(byCode.count(2985), 0u);
    EXPECT_EQ(expected.size(), 2 * (codes.size() - 1));
    EXPECT_EQ(crlfLines(readBytes(output)), expected);
}

TEST_F(EpsgListTest, BadArgumentsFailAndLeaveTheOutputAlone)
{
    const fs::path output = m_dir / "kept.txt";
    {
        std::ofstream(output) << "earlier list";
    }
    EXPECT_NE(run(output, "abc"), 0);
    EXPECT_NE(run(output, "4326 1"), 0) << "code 1 is no coordinate system";
    EXPECT_NE(run(output, "4978"), 0) << "a geocentric system is not listed";
    EXPECT_EQ(readBytes(output), "earlier list");
    EXPECT_FALSE(fs::exists(m_dir / "kept.txt.part"));
    EXPECT_NE(run(m_dir / "no" / "such" / "folder.txt", "4326"), 0);
}
