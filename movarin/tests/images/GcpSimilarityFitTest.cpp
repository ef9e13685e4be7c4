// The least-squares fit of an image placement to control points: exact cases, random
// similarities recovered, noisy cases against numpy's lstsq, residuals, disabled rows and
// the refusals.

#include "images/GcpTestSupport.h"

#include "movarin/survey/GcpSimilarityFit.h"

#include <common/exception/RuntimeException.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using varnel::GcpSimilarityFit;
using varnel::GcpTable;
using varnel::GcpTableRow;
using namespace varnel::test;

namespace {

struct ExactCase {
    GcpTable table;
    double scale;
    double angle;
    QPointF topLeft;
};

/// A similarity of scale s, angle θ (degrees, counter-clockwise) and top-left t applied to
/// the pane positions, as the pairs of a table.
GcpTable exactPairs(const std::vector<QPointF>& sources, double scale, double angle,
                    const QPointF& topLeft)
{
    gdalimg::GdalImageSetting setting;
    setting.setScale(scale);
    setting.setAngle(angle);
    setting.setTopLeft(topLeft);
    GcpTable table;
    for (const QPointF& s : sources) {
        const QPointF d = placeSource(setting, s);
        table.push_back({true, s.x(), s.y(), d.x(), d.y()});
    }
    return table;
}

double angleDifference(double a, double b)
{
    const double d = std::fmod(std::abs(a - b), 360.0);
    return std::min(d, 360.0 - d);
}

void expectRefused(const GcpTable& table)
{
    EXPECT_THROW(GcpSimilarityFit::fit(table), common::exception::RuntimeException);
}

/// Random similarities within the ranges the tests use: scale 0.01 to 10, any angle,
/// translation around 1e5, 3 to 20 sources in [0, 10000] x [-10000, 0].
class RandomSimilarities {
public:
    explicit RandomSimilarities(std::uint64_t seed) : m_random(seed) {}

    ExactCase next()
    {
        std::uniform_real_distribution<double> logScale(std::log(0.01), std::log(10.0));
        std::uniform_real_distribution<double> angle(-180.0, 180.0);
        std::uniform_real_distribution<double> shift(-2e4, 2e4);
        std::uniform_int_distribution<int> count(3, 20);
        std::uniform_real_distribution<double> column(0.0, 10000.0);
        std::uniform_real_distribution<double> row(-10000.0, 0.0);
        ExactCase c;
        c.scale = std::exp(logScale(m_random));
        c.angle = angle(m_random);
        c.topLeft = QPointF(1e5 + shift(m_random), 1e5 + shift(m_random));
        std::vector<QPointF> sources;
        const int n = count(m_random);
        for (int i = 0; i < n; ++i) {
            sources.emplace_back(column(m_random), row(m_random));
        }
        c.table = exactPairs(sources, c.scale, c.angle, c.topLeft);
        return c;
    }

    /// Moves every destination by Gaussian noise of 1 m.
    void addNoise(GcpTable& table)
    {
        std::normal_distribution<double> noise(0.0, 1.0);
        for (GcpTableRow& row : table) {
            row.dstX += noise(m_random);
            row.dstY += noise(m_random);
        }
    }

private:
    std::mt19937_64 m_random;
};

/// The fitted setting as the coefficients of the similarity: a = s·cos θ, b = −s·sin θ.
void coefficients(const gdalimg::GdalImageSetting& setting, double* a, double* b)
{
    const double theta = setting.angle() * M_PI / 180.0;
    *a = setting.scale() * std::cos(theta);
    *b = -setting.scale() * std::sin(theta);
}

QString pythonInterpreter()
{
    // Debian's interpreter carries python3-numpy; a python3 on PATH may be another one.
    return QFile::exists("/usr/bin/python3") ? QString("/usr/bin/python3") : QString("python3");
}

/// Runs the numpy reference over the tables; one {a, b, tx, ty} per table.
QJsonArray numpyReference(const std::vector<GcpTable>& tables)
{
    QJsonArray cases;
    for (const GcpTable& table : tables) {
        QJsonArray pairs;
        for (const GcpTableRow& row : table) {
            if (row.enabled) {
                pairs.append(QJsonArray{row.srcX, row.srcY, row.dstX, row.dstY});
            }
        }
        cases.append(QJsonObject{{"pairs", pairs}});
    }
    QTemporaryDir dir;
    const QString input = dir.filePath("cases.json");
    const QString output = dir.filePath("results.json");
    QFile file(input);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QJsonDocument(cases).toJson(QJsonDocument::Compact));
    file.close();

    QProcess process;
    process.start(pythonInterpreter(),
                  {QString(MOVARIN_SOURCE_DIR) + "/movarin/tests/images/gcp_fit_reference.py",
                   input, output});
    EXPECT_TRUE(process.waitForFinished(120000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    QFile results(output);
    EXPECT_TRUE(results.open(QIODevice::ReadOnly)) << "the reference wrote no results";
    return QJsonDocument::fromJson(results.readAll()).array();
}

const std::vector<ExactCase>& partCases()
{
    static const std::vector<ExactCase> cases = {
        {{{true, 0, 0, 100, 200}, {true, 10, 0, 110, 200}}, 1.0, 0.0, {100, 200}},
        {{{true, 0, 0, 0, 0}, {true, 10, 0, 10, 10}}, std::sqrt(2.0), 45.0, {0, 0}},
        {{{true, 0, 0, 0, 0}, {true, 10, 0, 0, 10}}, 1.0, 90.0, {0, 0}},
        {{{true, 0, 0, 0, 0}, {true, 10, 0, 0, -20}}, 2.0, -90.0, {0, 0}},
        {{{true, 0, 0, 0, 0}, {true, 10, 0, -10, 0}}, 1.0, 180.0, {0, 0}},
    };
    return cases;
}

} // namespace

TEST(GcpSimilarityFit, TwoPairCasesGiveTheirScaleAngleAndCorner)
{
    for (const ExactCase& c : partCases()) {
        const gdalimg::GdalImageSetting setting = GcpSimilarityFit::fit(c.table);
        EXPECT_NEAR(setting.scale(), c.scale, 1e-12);
        // The angle is stored as computed (between -90 and 270), not wrapped.
        EXPECT_NEAR(setting.angle(), c.angle, 1e-12);
        EXPECT_NEAR(setting.topLeft().x(), c.topLeft.x(), 1e-12);
        EXPECT_NEAR(setting.topLeft().y(), c.topLeft.y(), 1e-12);
    }
}

TEST(GcpSimilarityFit, RandomExactSimilaritiesAreRecovered)
{
    RandomSimilarities random(20240611);
    for (int i = 0; i < 200; ++i) {
        const ExactCase c = random.next();
        const gdalimg::GdalImageSetting setting = GcpSimilarityFit::fit(c.table);
        SCOPED_TRACE(testing::Message() << "case " << i << ", scale " << c.scale << ", angle "
                                        << c.angle << ", " << c.table.size() << " pairs");
        EXPECT_LE(std::abs(setting.scale() - c.scale), 1e-9 * c.scale);
        EXPECT_LE(angleDifference(setting.angle(), c.angle), 1e-9 * 360.0);
        EXPECT_LE(std::abs(setting.topLeft().x() - c.topLeft.x()), 1e-9 * std::abs(c.topLeft.x()));
        EXPECT_LE(std::abs(setting.topLeft().y() - c.topLeft.y()), 1e-9 * std::abs(c.topLeft.y()));
        EXPECT_GE(setting.angle(), -90.0);
        EXPECT_LT(setting.angle(), 270.0);
        // Every pixel of a pair lands on its map position through the image's placement.
        for (const GcpTableRow& row : c.table) {
            const QPointF mapped = placeSource(setting, QPointF(row.srcX, row.srcY));
            EXPECT_LE(std::abs(mapped.x() - row.dstX), 1e-9 * std::abs(row.dstX));
            EXPECT_LE(std::abs(mapped.y() - row.dstY), 1e-9 * std::abs(row.dstY));
        }
    }
}

TEST(GcpSimilarityFit, AgreesWithNumpyLeastSquares)
{
    RandomSimilarities random(777);
    std::vector<GcpTable> tables;
    for (const ExactCase& c : partCases()) {
        tables.push_back(c.table);
    }
    for (int i = 0; i < 20; ++i) {
        tables.push_back(random.next().table);
    }
    for (int i = 0; i < 60; ++i) {
        GcpTable table = random.next().table;
        random.addNoise(table);
        tables.push_back(table);
    }
    // A disabled outlier must not reach either side.
    GcpTable withDisabled = tables.back();
    withDisabled.push_back({false, 5000.0, -5000.0, -1e6, 3e6});
    tables.push_back(withDisabled);

    const QJsonArray reference = numpyReference(tables);
    ASSERT_EQ(reference.size(), static_cast<int>(tables.size()));
    for (std::size_t i = 0; i < tables.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "case " << i);
        const gdalimg::GdalImageSetting setting = GcpSimilarityFit::fit(tables[i]);
        const QJsonObject expected = reference[static_cast<int>(i)].toObject();
        double a = 0.0, b = 0.0;
        coefficients(setting, &a, &b);
        const double s = setting.scale();
        EXPECT_LE(std::abs(a - expected["a"].toDouble()), 1e-9 * s);
        EXPECT_LE(std::abs(b - expected["b"].toDouble()), 1e-9 * s);
        const double tx = expected["tx"].toDouble();
        const double ty = expected["ty"].toDouble();
        EXPECT_LE(std::abs(setting.topLeft().x() - tx), 1e-9 * std::max(1.0, std::abs(tx)));
        EXPECT_LE(std::abs(setting.topLeft().y() - ty), 1e-9 * std::max(1.0, std::abs(ty)));
    }
}

TEST(GcpSimilarityFit, ResidualsSumToZeroAndDisabledRowsChangeNothing)
{
    RandomSimilarities random(4242);
    for (int i = 0; i < 30; ++i) {
        GcpTable table = random.next().table;
        random.addNoise(table);
        const gdalimg::GdalImageSetting setting = GcpSimilarityFit::fit(table);
        QPointF sum(0.0, 0.0);
        double largest = 0.0;
        for (const GcpTableRow& row : table) {
            const QPointF residual =
                QPointF(row.dstX, row.dstY) - placeSource(setting, QPointF(row.srcX, row.srcY));
            sum += residual;
            largest = std::max({largest, std::abs(residual.x()), std::abs(residual.y())});
        }
        EXPECT_GT(largest, 0.01); // the noise is there
        EXPECT_LE(std::abs(sum.x()), 1e-9 * 1e5 * static_cast<double>(table.size()));
        EXPECT_LE(std::abs(sum.y()), 1e-9 * 1e5 * static_cast<double>(table.size()));

        GcpTable disabled = table;
        disabled.insert(disabled.begin(), {false, -3.0, 7.0, 0.0, 0.0});
        disabled.push_back({false, 9999.0, -1.0, 1e7, -1e7});
        const gdalimg::GdalImageSetting same = GcpSimilarityFit::fit(disabled);
        EXPECT_EQ(same.scale(), setting.scale());
        EXPECT_EQ(same.angle(), setting.angle());
        EXPECT_EQ(same.topLeft(), setting.topLeft());
    }
}

TEST(GcpSimilarityFit, RefusesTablesThatGiveNoPlacement)
{
    expectRefused({});
    expectRefused({{true, 0, 0, 100, 200}});
    // Two rows, one of them disabled.
    expectRefused({{true, 0, 0, 100, 200}, {false, 10, 0, 110, 200}});
    // Enabled sources on one position (also when the position is not exact in binary).
    expectRefused({{true, 0.1, -0.1, 0, 0}, {true, 0.1, -0.1, 10, 0}, {true, 0.1, -0.1, 5, 5}});
    // Map positions on one point: scale 0.
    expectRefused({{true, 0, 0, 7, 7}, {true, 10, 0, 7, 7}});
    // Map positions that overflow.
    expectRefused({{true, 0, 0, -1e308, 0}, {true, 1, 0, 1e308, 0}});
}
