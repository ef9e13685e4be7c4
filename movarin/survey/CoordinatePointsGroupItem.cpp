#include "movarin/survey/CoordinatePointsGroupItem.h"

#include "movarin/shell/Project.h"
#include "movarin/shell/ProjectFile.h"
#include "movarin/shell/ProjectProperty.h"
#include "movarin/survey/CoordinatePointsGroupItemController.h"
#include "movarin/survey/CoordinatePointsItem.h"

#include "common/exception/RuntimeException.h"
#include "orlin/core/PointSet.h"
#include "orlin/io/TpoPointSetImporter.h"
#include "tingml/io/GmlPointSetImporter.h"

#include <guimisc/FolderDeleter.h>
#include <guimisc/StringSupport.h>
#include <guimisc/TmpFileCopyerToAscii.h>
#include <guimisc/UserDialogs.h>
#include <guimisc/restorer/WaitCursor.h>

#include <QDir>
#include <QDomElement>
#include <QFileInfo>
#include <QMainWindow>
#include <QPointer>
#include <QStandardItem>
#include <QXmlStreamWriter>

#include <memory>
#include <string>

namespace varnel {

namespace {

const QString ELEMENT = QStringLiteral("CoordinatePoints");

enum class FileKind { Zip, Xml, Tpo };
enum { ALL_FILTER, ZIP_FILTER, XML_FILTER, TPO_FILTER };

std::string pointFileName(int position)
{
    return QStringLiteral("coordinatePoints%1.tpobin").arg(position).toStdString();
}

/// The reader's road: the filter chosen, or under "All files" (and any filter not offered)
/// the name's extension, whatever its case.
FileKind kindOf(const QString& path, const QString& filter)
{
    const QStringList& filters = CoordinatePointsGroupItem::fileFilters();
    if (filter == filters[ZIP_FILTER]) {
        return FileKind::Zip;
    }
    if (filter == filters[XML_FILTER]) {
        return FileKind::Xml;
    }
    if (filter == filters[TPO_FILTER]) {
        return FileKind::Tpo;
    }
    const QString suffix = path.right(4).toLower();
    if (suffix == QLatin1String(".zip")) {
        return FileKind::Zip;
    }
    return suffix == QLatin1String(".xml") ? FileKind::Xml : FileKind::Tpo;
}

/// A folder of its own in the work folder for the GML reader's unpacking, removed with all
/// it holds when the object goes.
class TemporaryFolder {
public:
    explicit TemporaryFolder(const Project& project)
        : m_path(project.tmpFileName()), m_deleter(m_path)
    {
        if (!QDir().mkpath(m_path)) {
            throw common::exception::RuntimeException("Cannot create the temporary folder "
                                                      + guimisc::StringSupport::toStr(m_path));
        }
    }

    std::string path() const { return guimisc::StringSupport::toStr(m_path); }

private:
    QString m_path;
    guimisc::FolderDeleter m_deleter;
};

/// The GML reader over the project's coordinate system, unpacking in `folder`.
void setUp(tingml::io::GmlPointSetImporter& importer, const TemporaryFolder& folder,
           proj::ProjectionPair* pair)
{
    importer.setTempFolder(folder.path().c_str());
    importer.setProjectionPair(pair);
}

} // namespace

CoordinatePointsGroupItem::CoordinatePointsGroupItem(mvc::core::ModelItem* parent)
    : mvc::core::ModelItem(FolderIcon, tr("Coordinate point data"), parent, 0)
{
    setSubPath("coordinatePointsGroup");
}

CoordinatePointsGroupItem::~CoordinatePointsGroupItem() = default;

QString CoordinatePointsGroupItem::itemTypeName() const
{
    return tr("coordinate point data");
}

CoordinatePointsGroupItemController* CoordinatePointsGroupItem::controller() const
{
    return static_cast<CoordinatePointsGroupItemController*>(mvc::core::ModelItem::controller());
}

const QStringList& CoordinatePointsGroupItem::fileFilters()
{
    static const QStringList filters = [] {
        // Each extension in both cases, so that "POINTS.ZIP" is offered like "points.zip".
        const auto patterns = [](const char* extension) {
            const QString lower = QString::fromLatin1(extension);
            return QStringLiteral("%1 *%2").arg(lower, lower.toUpper());
        };
        const QString zip = patterns(".zip");
        const QString xml = patterns(".xml");
        const QString tpo = patterns(".tpo");
        return QStringList{tr("All files (*%1 *%2 *%3)").arg(zip, xml, tpo),
                           tr("JPGIS ZIP files (*%1)").arg(zip),
                           tr("JPGIS XML files (*%1)").arg(xml), tr("tpo files (*%1)").arg(tpo)};
    }();
    return filters;
}

QString CoordinatePointsGroupItem::fileFilterString()
{
    const QStringList& filters = fileFilters();
    return QStringLiteral("%1;;%2;;%3;;%4").arg(filters[0], filters[1], filters[2], filters[3]);
}

CoordinatePointsItem* CoordinatePointsGroupItem::importCoordinatePoints(const QString& path,
                                                                        const QString& filter)
{
    const auto project = dynamic_cast<const Project*>(this->project());
    if (!project) {
        return nullptr;
    }
    const FileKind kind = kindOf(path, filter);

    // Readers take 8-bit names; only a name with other characters needs an ASCII copy
    // (a copy of a file of millions of lines is not free).
    std::unique_ptr<guimisc::TmpFileCopyerToAscii> copy;
    std::string name;
    if (guimisc::StringSupport::isAscii(path)) {
        name = guimisc::StringSupport::toStr(path);
    } else {
        const guimisc::restorer::WaitCursor busy;
        copy = std::make_unique<guimisc::TmpFileCopyerToAscii>(path, project->workFolder(), false);
        name = copy->filename();
    }

    tin::core::PointSet points;
    if (kind == FileKind::Tpo) {
        const guimisc::restorer::WaitCursor busy;
        points = tin::io::TpoPointSetImporter().importPointSet(name.c_str());
    } else {
        proj::ProjectionPair* pair = project->projectFile()->property()->projectionPair();
        if (!pair) {
            guimisc::UserDialogs::warning(
                mainWindow(), tr("Warning"),
                tr("To import JpGIS data, please specify coordinate system first, from the "
                   "following menu: File -> Property"));
            return nullptr;
        }
        QPointer<CoordinatePointsGroupItem> self(this);
        CoordinatePointsGroupItemController* control = controller();

        double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0;
        {
            const guimisc::restorer::WaitCursor busy;
            const TemporaryFolder folder(*project);
            tingml::io::GmlPointSetImporter importer;
            setUp(importer, folder, pair);
            if (!importer.boundingBox(name.c_str(), &x1, &y1, &x2, &y2)) {
                throw common::exception::RuntimeException(
                    "No elevation grid in " + guimisc::StringSupport::toStr(path));
            }
        }
        control->showDataExtent(tin::core::Rect(x1, y1, x2, y2));

        const std::optional<int> step = control->askStep();
        if (!self || !step) {
            return nullptr;
        }
        if (control->waitForRegion() != CoordinatePointsGroupItemController::RegionWait::Drawn) {
            return nullptr; // cancelled, or the project went with this group
        }
        const tin::core::Rect region = control->currentSelectionHelper()->region();

        const guimisc::restorer::WaitCursor busy;
        const TemporaryFolder folder(*project);
        tingml::io::GmlPointSetImporter importer;
        setUp(importer, folder, pair);
        importer.setStep(*step);
        points = region.isValid()
                     ? importer.importPointSet(name.c_str(), region.xMin(), region.yMin(),
                                               region.xMax(), region.yMax())
                     : importer.importPointSet(name.c_str());
    }
    if (points.empty()) {
        return nullptr;
    }
    auto item = new CoordinatePointsItem(QFileInfo(path).fileName(),
                                         new tin::core::PointSet(std::move(points)), this);
    // The attach command of the import puts the row in place.
    browserItem()->takeRow(item->browserItem()->row());
    return item;
}

void CoordinatePointsGroupItem::doLoadFromProjectMainFile(const QDomElement& element)
{
    int position = 1;
    for (QDomElement child = element.firstChildElement(); !child.isNull();
         child = child.nextSiblingElement()) {
        auto item = new CoordinatePointsItem(nullptr);
        item->setParent(this);
        attachChildAtBack(item);
        item->setFilename(pointFileName(position++));
        item->loadFromProjectMainFile(child);
    }
}

void CoordinatePointsGroupItem::doSaveToProjectMainFile(QXmlStreamWriter* writer)
{
    int position = 1;
    for (mvc::core::ModelItem* child : childItems()) {
        child->setFilename(pointFileName(position++));
        writer->writeStartElement(ELEMENT);
        child->saveToProjectMainFile(writer);
        writer->writeEndElement();
    }
}

mvc::core::ModelItemController* CoordinatePointsGroupItem::buildController() const
{
    return new CoordinatePointsGroupItemController(this);
}

} // namespace varnel
