// The catalogue built from the compiled-in list, checked against a second reader of the same
// list, and the parsing rules on lines of the tests' own.
#include "mirvel/EllipseToPlaneProjectionPairBuilder.h"

#include "proj/ProjectionPairLonLatDegreeToPlane.h"

#include "ProjProgram.h"

#include <QFile>
#include <QTextStream>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using guiproj::EllipseToPlaneProjectionPairBuilder;
using proj::ProjectionPair;
using proj::ProjectionPairLonLatDegreeToPlane;

namespace {

const ProjectionPairLonLatDegreeToPlane* lonLat(const ProjectionPair* pair)
{
    return dynamic_cast<const ProjectionPairLonLatDegreeToPlane*>(pair);
}

std::unique_ptr<EllipseToPlaneProjectionPairBuilder> buildFrom(const QString& text)
{
    QString copy = text;
    QTextStream lines(&copy, QIODevice::ReadOnly);
    return std::make_unique<EllipseToPlaneProjectionPairBuilder>(lines);
}

std::string resourceText()
{
    QFile file(":/data/epsg.txt");
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll().toStdString();
}

struct ExpectedPair
{
    std::string name;
    std::string caption;
};

/// A second reader of the list with the standard library's expressions: the pairs the list
/// should give, in order.
std::vector<ExpectedPair> readListAgain(const std::string& text)
{
    const std::regex definition("<([0-9]+)>(.+)<>");
    const std::regex named("\\+(ellps|datum)=[a-zA-Z0-9_-]+ ");
    std::vector<ExpectedPair> expected;
    std::istringstream in(text);
    std::string line;
    std::string caption;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        std::smatch match;
        if (!line.empty() && line[0] == '#') {
            caption = line.substr(1);
            caption.erase(0, caption.find_first_not_of(' '));
        } else if (std::regex_match(line, match, definition) && !caption.empty()) {
            std::string parameters = match[2];
            parameters.erase(parameters.find_last_not_of(' ') + 1);
            if (std::regex_search(parameters, named)) {
                expected.push_back({"EPSG:" + match[1].str(), caption});
            }
        }
    }
    return expected;
}

/// The number after " +key=" in a definition, or the fallback.
double parameter(const std::string& definition, const std::string& key, double fallback)
{
    const std::string padded = " " + definition;
    const std::size_t at = padded.find(" +" + key + "=");
    return at == std::string::npos ? fallback : std::atof(padded.c_str() + at + key.size() + 3);
}

/// A point near the origin of a plane definition, where its projection is sound.
projprogram::LonLat pointNearOrigin(const std::string& definition)
{
    if (definition.rfind("+proj=utm ", 0) == 0) {
        const double south = definition.find(" +south") != std::string::npos;
        return {parameter(definition, "zone", 31) * 6.0 - 183.0 + 0.3, south ? -30.0 : 30.0};
    }
    const double lon = parameter(definition, "lon_0", parameter(definition, "lonc", 0.0));
    const double lat = parameter(definition, "lat_0", 0.0);
    return {lon + 0.3, lat > 0.0 ? lat - 0.3 : lat + 0.3};
}

class CatalogueTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_catalogue = new EllipseToPlaneProjectionPairBuilder(); }
    static void TearDownTestSuite()
    {
        delete s_catalogue;
        s_catalogue = nullptr;
    }
    static EllipseToPlaneProjectionPairBuilder* s_catalogue;
};

EllipseToPlaneProjectionPairBuilder* CatalogueTest::s_catalogue = nullptr;

} // namespace

TEST_F(CatalogueTest, KnownSystemsHaveTheirCaptions)
{
    const ProjectionPair* japanOne = s_catalogue->projectionPair("EPSG:2443");
    ASSERT_NE(japanOne, nullptr);
    EXPECT_EQ(japanOne->name(), "EPSG:2443");
    EXPECT_EQ(japanOne->caption(), "JGD2000 / Japan Plane Rectangular CS I");
    const ProjectionPair* utm60s = s_catalogue->projectionPair("EPSG:32760");
    ASSERT_NE(utm60s, nullptr);
    EXPECT_EQ(utm60s->caption(), "WGS 84 / UTM zone 60S");
    ASSERT_NE(lonLat(utm60s), nullptr);
    EXPECT_EQ(lonLat(utm60s)->geographicDefinition(), "+proj=latlong +datum=WGS84");
    EXPECT_EQ(lonLat(utm60s)->planeDefinition(),
              "+proj=utm +zone=60 +south +datum=WGS84 +units=m +no_defs");

    EXPECT_EQ(s_catalogue->projectionPair("EPSG:1"), nullptr);
}

TEST_F(CatalogueTest, AllJapanesePlaneRectangularSystemsArePresent)
{
    int found = 0;
    for (const auto& [first, last, datum] :
         {std::make_tuple(2443, 2461, "JGD2000"), std::make_tuple(6669, 6687, "JGD2011"),
          std::make_tuple(30161, 30179, "Tokyo")}) {
        for (int code = first; code <= last; ++code) {
            const ProjectionPair* pair =
                s_catalogue->projectionPair("EPSG:" + std::to_string(code));
            ASSERT_NE(pair, nullptr) << code;
            EXPECT_EQ(pair->caption().rfind(std::string(datum) + " / Japan Plane Rectangular CS ", 0),
                      0u)
                << pair->caption();
            ++found;
        }
    }
    EXPECT_EQ(found, 57);
}

TEST_F(CatalogueTest, MatchesASecondReaderOfTheList)
{
    const std::string text = resourceText();
    const std::vector<ExpectedPair> expected = readListAgain(text);
    const std::vector<ProjectionPair*>& pairs = s_catalogue->projectionPairs();
    ASSERT_EQ(pairs.size(), expected.size());
    ASSERT_GT(pairs.size(), 5000u);
    std::set<std::string> names;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        EXPECT_EQ(pairs[i]->name(), expected[i].name);
        EXPECT_EQ(pairs[i]->caption(), expected[i].caption);
        EXPECT_TRUE(names.insert(pairs[i]->name()).second) << "twice: " << pairs[i]->name();
        EXPECT_EQ(s_catalogue->projectionPair(pairs[i]->name()), pairs[i]);
    }

    // The last definition of the list.
    const std::size_t last = text.rfind("\r\n<");
    ASSERT_NE(last, std::string::npos);
    const std::string lastCode = text.substr(last + 3, text.find('>', last) - last - 3);
    EXPECT_NE(s_catalogue->projectionPair("EPSG:" + lastCode), nullptr) << lastCode;
    EXPECT_EQ(pairs.back()->name(), "EPSG:" + lastCode);
}

TEST_F(CatalogueTest, GeographicSystemsBecomePairsInDegrees)
{
    int geographic = 0;
    for (const ProjectionPair* pair : s_catalogue->projectionPairs()) {
        if (lonLat(pair)->planeDefinition().rfind("+proj=longlat ", 0) == 0) {
            ++geographic;
        }
    }
    EXPECT_GT(geographic, 400);
    double lon = 0.0;
    double lat = 0.0;
    ASSERT_TRUE(s_catalogue->projectionPair("EPSG:4326")->forward(139.75, 35.5, lon, lat));
    EXPECT_NEAR(lat, 35.5, 1e-12);
}

TEST_F(CatalogueTest, SampledPlanePairsAgreeWithProjProgram)
{
    int compared = 0;
    const std::vector<ProjectionPair*>& pairs = s_catalogue->projectionPairs();
    for (std::size_t i = 0; i < pairs.size(); i += 89) {
        const std::string& definition = lonLat(pairs[i])->planeDefinition();
        if (definition.rfind("+proj=longlat ", 0) == 0) {
            continue;
        }
        SCOPED_TRACE(pairs[i]->name() + " " + definition);
        const projprogram::LonLat p = pointNearOrigin(definition);
        const std::vector<projprogram::Plane> expected =
            projprogram::runProgram("proj -f %.6f " + definition, {p});
        double x = 0.0;
        double y = 0.0;
        const bool converted = pairs[i]->forward(p.lon, p.lat, x, y);
        ASSERT_EQ(converted, expected.size() == 1) << p.lon << " " << p.lat;
        if (converted) {
            EXPECT_NEAR(x, expected[0].x, 1e-3);
            EXPECT_NEAR(y, expected[0].y, 1e-3);
            ++compared;
        }
    }
    EXPECT_GT(compared, 40);
}

TEST(CatalogueParsingTest, GeographicDefinitionFromEllipsoidAndDatum)
{
    const auto catalogue = buildFrom(
        "# datum only\r\n"
        "<1> +proj=utm +zone=1 +datum=WGS84 +units=m +no_defs <>\r\n"
        "# datum first\r\n"
        "<2> +proj=tmerc +datum=NAD83 +ellps=GRS80 +units=m <>\r\n"
        "# ellipsoid first\r\n"
        "<3> +proj=tmerc +ellps=GRS80 +datum=NAD83 +units=m <>\r\n"
        "# datum at the very end\r\n"
        "<4> +proj=tmerc +ellps=bessel +datum=potsdam <>\r\n"
        "# only at the very end\r\n"
        "<5> +proj=tmerc +units=m +ellps=bessel   <>\r\n"
        "# neither\r\n"
        "<6> +proj=tmerc +a=6378249.145 +rf=293.465 +units=m +no_defs <>\r\n"
        "# name in other case\r\n"
        "<7> +proj=tmerc +ELLPS=GRS80 +units=m <>\r\n");
    const std::vector<ProjectionPair*>& pairs = catalogue->projectionPairs();
    ASSERT_EQ(pairs.size(), 4u);
    EXPECT_EQ(lonLat(pairs[0])->geographicDefinition(), "+proj=latlong +datum=WGS84");
    EXPECT_EQ(lonLat(pairs[0])->planeDefinition(),
              "+proj=utm +zone=1 +datum=WGS84 +units=m +no_defs");
    EXPECT_EQ(lonLat(pairs[1])->geographicDefinition(), "+proj=latlong +ellps=GRS80 +datum=NAD83");
    EXPECT_EQ(lonLat(pairs[2])->geographicDefinition(), "+proj=latlong +ellps=GRS80 +datum=NAD83");
    EXPECT_EQ(pairs[3]->name(), "EPSG:4");
    EXPECT_EQ(lonLat(pairs[3])->geographicDefinition(), "+proj=latlong +ellps=bessel");
    for (const char* none : {"EPSG:5", "EPSG:6", "EPSG:7"}) {
        EXPECT_EQ(catalogue->projectionPair(none), nullptr) << none;
    }
}

TEST(CatalogueParsingTest, CaptionsServeTheFollowingDefinitions)
{
    const auto catalogue = buildFrom(
        "<1> +proj=utm +zone=1 +ellps=GRS80 +units=m <>\n"
        "#   First system   \n"
        "<2> +proj=utm +zone=2 +ellps=GRS80 +units=m <>\n"
        "\n"
        " # not a caption\n"
        "<3> +proj=utm +zone=3 +ellps=GRS80 +units=m <>\n"
        "#Second\n"
        "<4> +proj=utm +zone=4 +ellps=GRS80 +units=m <> trailing\n"
        "<x4> +proj=utm +zone=4 +ellps=GRS80 +units=m <>\n"
        "<5>+proj=utm +zone=5 +ellps=GRS80 +units=m <>\n"
        "#\n"
        "<6> +proj=utm +zone=6 +ellps=GRS80 +units=m <>\n"
        "# Third\n"
        "<7> +proj=utm +zone=7 +ellps=GRS80 +units=m <>");
    std::vector<std::pair<std::string, std::string>> got;
    for (const ProjectionPair* pair : catalogue->projectionPairs()) {
        got.emplace_back(pair->name(), pair->caption());
    }
    // 1 comes before any caption, 4 has text after its end mark, x4 is no code, and 6 follows an
    // empty caption; the last line needs no line end.
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"EPSG:2", "First system"},
        {"EPSG:3", "First system"},
        {"EPSG:5", "Second"},
        {"EPSG:7", "Third"},
    };
    EXPECT_EQ(got, expected);
    EXPECT_EQ(lonLat(catalogue->projectionPair("EPSG:5"))->planeDefinition(),
              "+proj=utm +zone=5 +ellps=GRS80 +units=m");
}

TEST(CatalogueParsingTest, NameGivenTwiceKeepsTheFirstInTheIndex)
{
    const auto catalogue = buildFrom("# First\n"
                                     "<10> +proj=utm +zone=10 +ellps=GRS80 +units=m <>\n"
                                     "# Second\n"
                                     "<10> +proj=utm +zone=11 +ellps=GRS80 +units=m <>\n");
    const std::vector<ProjectionPair*>& pairs = catalogue->projectionPairs();
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(catalogue->projectionPair("EPSG:10"), pairs[0]);
    EXPECT_EQ(pairs[0]->caption(), "First");
    EXPECT_EQ(pairs[1]->caption(), "Second");
}

TEST(CatalogueParsingTest, RejectedDefinitionFailsOnlyItsOwnConversions)
{
    const auto catalogue = buildFrom("# Broken\n"
                                     "<1> +proj=nosuchprojection +ellps=GRS80 +units=m <>\n"
                                     "# Sound\n"
                                     "<2> +proj=utm +zone=54 +ellps=GRS80 +units=m <>\n");
    ASSERT_EQ(catalogue->projectionPairs().size(), 2u);
    double x = 0.0;
    double y = 0.0;
    EXPECT_FALSE(catalogue->projectionPair("EPSG:1")->forward(139.0, 35.0, x, y));
    EXPECT_TRUE(catalogue->projectionPair("EPSG:2")->forward(141.0, 35.0, x, y));
    EXPECT_NEAR(x, 500000.0, 1e-6);
}
