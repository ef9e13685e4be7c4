#include "movarin/survey/CoordinatePointsForTinItem.h"

#include "movarin/survey/BoundarySliverRemover.h"
#include "movarin/survey/BreaklineItem.h"
#include "movarin/survey/CoordinatePointsForTinItemController.h"
#include "movarin/survey/CoordinatePointsForTinItemView.h"

#include "orlin/core/PointSet.h"
#include "orlin/core/Tin.h"
#include "orlin/util/PointSetToTin.h"

#include <guimisc/UserDialogs.h>

#include <QDomElement>
#include <QMainWindow>
#include <QStandardItem>
#include <QXmlStreamWriter>

namespace varnel {

namespace {

const QString BREAKLINE = QStringLiteral("Breakline");

tin::core::Tin convertOwnPoints(const tin::core::PointSet& set, bool refined)
{
    return tin::util::PointSetToTin::convertCleanPointSet(set, false, refined);
}

CoordinatePointsForTinItem::Triangulation& installedTriangulation()
{
    static CoordinatePointsForTinItem::Triangulation triangulation = convertOwnPoints;
    return triangulation;
}

} // namespace

CoordinatePointsForTinItem::CoordinatePointsForTinItem(mvc::core::ModelItem* parent)
    : CoordinatePointsBaseItem(tr("Coordinate points data for TIN"), nullptr, parent, 0)
{
    setFilename("coordinatePointsForTin.tpobin");
    setSubPath("coordinatePointsForTin");
}

CoordinatePointsForTinItem::~CoordinatePointsForTinItem() = default;

void CoordinatePointsForTinItem::loadFromProjectMainFile(const QDomElement& element)
{
    loadState(element);
    loadExternalDataIfNecessary();
    doLoadFromProjectMainFile(element);
}

void CoordinatePointsForTinItem::saveToProjectMainFile(QXmlStreamWriter* writer)
{
    saveState(writer);
    createSubFolderIfNecessary();
    saveExternalDataIfNecessary();
    doSaveToProjectMainFile(writer);
}

CoordinatePointsForTinItemController* CoordinatePointsForTinItem::controller() const
{
    return static_cast<CoordinatePointsForTinItemController*>(mvc::core::ModelItem::controller());
}

std::vector<BreaklineItem*> CoordinatePointsForTinItem::breaklineItems() const
{
    std::vector<BreaklineItem*> breaklines;
    for (mvc::core::ModelItem* child : childItems()) {
        if (auto* breakline = qobject_cast<BreaklineItem*>(child)) {
            breaklines.push_back(breakline);
        }
    }
    return breaklines;
}

BreaklineItem* CoordinatePointsForTinItem::newBreakline(const QString& caption,
                                                        const std::vector<PointPtr>& points)
{
    auto* breakline = new BreaklineItem(caption, points, this);
    if (QStandardItem* row = browserItem()) {
        row->takeRow(breakline->browserItem()->row());
    }
    return breakline;
}

std::optional<CoordinatePointsForTinItem::TinKind> CoordinatePointsForTinItem::askTinKind() const
{
    const QMessageBox::StandardButton answer = guimisc::UserDialogs::information(
        mainWindow(), tr("Information"),
        tr("Do you want to create refined TIN?\nDepending on the points distribution, the "
           "process may take long time and may fail to find appropriate solution."),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::No);
    switch (answer) {
    case QMessageBox::Yes:
        return TinKind::Refined;
    case QMessageBox::No:
        return TinKind::Plain;
    default:
        return std::nullopt;
    }
}

tin::core::Tin CoordinatePointsForTinItem::triangulate(TinKind kind)
{
    tin::core::PointSet& set = *pointSet();
    if (set.empty()) {
        return tin::core::Tin();
    }
    rebuildBreaklines();
    tin::core::Tin tin = installedTriangulation()(set, kind == TinKind::Refined);
    BoundarySliverRemover::removeSlivers(tin);
    return tin;
}

CoordinatePointsForTinItem::Triangulation CoordinatePointsForTinItem::setTriangulation(
    Triangulation triangulation)
{
    Triangulation previous = std::move(installedTriangulation());
    installedTriangulation() = triangulation ? std::move(triangulation) : convertOwnPoints;
    return previous;
}

CoordinatePointsForTinItem::PointPtr CoordinatePointsForTinItem::pointOfFileRecord(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_fileRecords.size()) {
        return nullptr;
    }
    return m_fileRecords[static_cast<std::size_t>(index)];
}

void CoordinatePointsForTinItem::doLoadFromProjectMainFile(const QDomElement& element)
{
    loadViewSetting(element);
    // Cleared on every way out, so that no record outlives the load.
    struct RecordsGuard {
        std::vector<PointPtr>& records;
        ~RecordsGuard() { std::vector<PointPtr>().swap(records); }
    } guard{m_fileRecords};

    bool recordsRead = false;
    int index = 1;
    for (QDomElement child = element.firstChildElement(); !child.isNull();
         child = child.nextSiblingElement(), ++index) {
        if (!recordsRead && m_fileRecords.empty()) {
            m_fileRecords = recordsOfTextFile();
        }
        recordsRead = true;
        auto* breakline = new BreaklineItem(QString(), {}, nullptr);
        breakline->setParent(this);
        attachChildAtBack(breakline);
        breakline->setFilenameByIndex(index);
        breakline->loadFromProjectMainFile(child);
    }
}

void CoordinatePointsForTinItem::doSaveToProjectMainFile(QXmlStreamWriter* writer)
{
    saveViewSetting(writer);
    int index = 1;
    for (BreaklineItem* breakline : breaklineItems()) {
        breakline->setFilenameByIndex(index++);
        writer->writeStartElement(BREAKLINE);
        breakline->saveToProjectMainFile(writer);
        writer->writeEndElement();
    }
}

mvc::core::ModelItemView* CoordinatePointsForTinItem::buildView() const
{
    return new CoordinatePointsForTinItemView(this);
}

mvc::core::ModelItemController* CoordinatePointsForTinItem::buildController() const
{
    return new CoordinatePointsForTinItemController(this);
}

void CoordinatePointsForTinItem::rebuildBreaklines()
{
    tin::core::PointSet& set = *pointSet();
    set.removeAllBreaklines();
    for (const BreaklineItem* breakline : breaklineItems()) {
        const std::vector<PointPtr>& points = breakline->points();
        for (std::size_t i = 1; i < points.size(); ++i) {
            set.addBreakline(points[i - 1], points[i], false);
        }
    }
}

void CoordinatePointsForTinItem::loadExternalData(const std::string& path)
{
    std::vector<PointPtr> records;
    replacePointSet(std::make_unique<tin::core::PointSet>(readPointFile(path, &records)));
    m_fileRecords = std::move(records);
}

std::vector<CoordinatePointsForTinItem::PointPtr> CoordinatePointsForTinItem::recordsOfTextFile() const
{
    // The text reader numbered the points by their lines.
    std::vector<PointPtr> records;
    for (const PointPtr& p : pointSet()->allPoints()) {
        if (p->id() < 0) {
            continue;
        }
        const auto id = static_cast<std::size_t>(p->id());
        if (id >= records.size()) {
            records.resize(id + 1);
        }
        records[id] = p;
    }
    return records;
}

} // namespace varnel
