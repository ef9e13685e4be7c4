#include "mirvel/EllipseToPlaneProjectionPairBuilder.h"

#include "common/exception/RuntimeException.h"
#include "guimisc/StringSupport.h"
#include "proj/ProjectionPairLonLatDegreeToPlane.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextStream>

#include <unordered_map>

namespace guiproj {

namespace {

const char* const kResource = ":/data/epsg.txt";

/// The expressions of the list's lines, compiled once for the process.
struct ListExpressions
{
    QRegularExpression definitionLine{QRegularExpression::anchoredPattern("<([0-9]+)>(.+)<>")};
    // Both end in a blank: a parameter at the very end of a trimmed definition is not found.
    QRegularExpression ellipsoid{"\\+ellps=([a-zA-Z0-9_\\-]+) "};
    QRegularExpression datum{"\\+datum=([a-zA-Z0-9_\\-]+) "};

    ListExpressions()
    {
        definitionLine.optimize();
        ellipsoid.optimize();
        datum.optimize();
    }

    static const ListExpressions& get()
    {
        static const ListExpressions expressions;
        return expressions;
    }
};

/// The pair of one definition, or null when it names neither an ellipsoid nor a datum.
std::unique_ptr<proj::ProjectionPairLonLatDegreeToPlane> makePair(const QString& definition)
{
    const ListExpressions& expressions = ListExpressions::get();
    const QRegularExpressionMatch ellipsoid = expressions.ellipsoid.match(definition);
    const QRegularExpressionMatch datum = expressions.datum.match(definition);
    if (!ellipsoid.hasMatch() && !datum.hasMatch()) {
        return nullptr;
    }
    QString geographic = QStringLiteral("+proj=latlong");
    if (ellipsoid.hasMatch()) {
        geographic += QStringLiteral(" +ellps=") + ellipsoid.capturedRef(1);
    }
    if (datum.hasMatch()) {
        geographic += QStringLiteral(" +datum=") + datum.capturedRef(1);
    }
    return std::make_unique<proj::ProjectionPairLonLatDegreeToPlane>(
        guimisc::StringSupport::toStr(geographic.trimmed()),
        guimisc::StringSupport::toStr(definition.trimmed()));
}

} // namespace

struct EllipseToPlaneProjectionPairBuilder::Impl
{
    std::vector<proj::ProjectionPair*> pairs;
    std::unordered_map<std::string, proj::ProjectionPair*> byName;

    ~Impl()
    {
        for (proj::ProjectionPair* pair : pairs) {
            delete pair;
        }
    }
};

EllipseToPlaneProjectionPairBuilder::EllipseToPlaneProjectionPairBuilder(QObject* parent)
    : QObject(parent)
    , m_impl(std::make_unique<Impl>())
{
    QFile file(QString::fromLatin1(kResource));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        throw common::exception::RuntimeException(std::string("Cannot read the EPSG list ")
                                                  + kResource);
    }
    QTextStream lines(&file);
    lines.setCodec("ISO-8859-1");
    build(lines);
}

EllipseToPlaneProjectionPairBuilder::EllipseToPlaneProjectionPairBuilder(QTextStream& lines,
                                                                         QObject* parent)
    : QObject(parent)
    , m_impl(std::make_unique<Impl>())
{
    build(lines);
}

EllipseToPlaneProjectionPairBuilder::~EllipseToPlaneProjectionPairBuilder() = default;

const std::vector<proj::ProjectionPair*>& EllipseToPlaneProjectionPairBuilder::projectionPairs()
    const
{
    return m_impl->pairs;
}

proj::ProjectionPair* EllipseToPlaneProjectionPairBuilder::projectionPair(
    const std::string& name) const
{
    const auto found = m_impl->byName.find(name);
    return found == m_impl->byName.end() ? nullptr : found->second;
}

void EllipseToPlaneProjectionPairBuilder::build(QTextStream& lines)
{
    const QRegularExpression& definitionLine = ListExpressions::get().definitionLine;
    std::string caption;
    QString line;
    while (lines.readLineInto(&line)) {
        if (line.startsWith(QLatin1Char('#'))) {
            caption = guimisc::StringSupport::toStr(line.mid(1).trimmed());
            continue;
        }
        const QRegularExpressionMatch match = definitionLine.match(line);
        if (!match.hasMatch() || caption.empty()) {
            continue;
        }
        std::unique_ptr<proj::ProjectionPairLonLatDegreeToPlane> pair =
            makePair(match.captured(2).trimmed());
        if (!pair) {
            continue;
        }
        pair->setName("EPSG:" + guimisc::StringSupport::toStr(match.captured(1)));
        pair->setCaption(caption);
        m_impl->pairs.push_back(pair.get());
        pair.release();
    }
    m_impl->byName.reserve(m_impl->pairs.size());
    for (proj::ProjectionPair* pair : m_impl->pairs) {
        m_impl->byName.emplace(pair->name(), pair); // emplace keeps the first of a name
    }
}

} // namespace guiproj
