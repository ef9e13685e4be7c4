#include "movarin/sections/GeoDataGroupItemController.h"

#include "movarin/sections/GeoDataGroupItemControllerDeleteAllChildItemsCommand.h"
#include "movarin/sections/GeoDataGroupValueEditWidget.h"
#include "movarin/sections/GeoDataPolygonItem.h"
#include "movarin/sections/GeoDataPolylineItem.h"

#include "brask/core/Model.h"
#include "brask/core/View.h"
#include "brask/proj/Project.h"
#include "brask/proj/ProjectMainWindowI.h"
#include "kalmo/ShpImportSettingWizard.h"
#include "kalmo/ShpPartCounts.h"
#include "kalmo/ShpPolygonReader.h"
#include "kalmo/ShpPolygonWriter.h"
#include "kalmo/ShpPolylineReader.h"
#include "kalmo/ShpPolylineWriter.h"
#include "kalmo/ShpUtil.h"
#include "orlin/core/PlanCoordinate.h"

#include <guimisc/LastIODirectory.h>
#include <guimisc/StringSupport.h>
#include <guimisc/UserDialogs.h>
#include <guimisc/WindowSupport.h>

#include <QAction>
#include <QDir>
#include <QIcon>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>
#include <QUndoStack>

#include <cmath>
#include <exception>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

namespace varnel {

namespace {

constexpr int SHAPE_TYPE_ARC = 3;
constexpr int SHAPE_TYPE_POLYGON = 5;

QString nextName(const QString& pattern, const std::set<QString>& taken)
{
    for (int n = 1;; ++n) {
        const QString name = pattern.arg(n);
        if (taken.count(name) == 0) {
            return name;
        }
    }
}

// Whether every vertex is a plan coordinate the project can hold (a NaN vertex would make
// the saved project unreadable).
template <typename Shape>
bool hasUsableCoordinates(const Shape& shape)
{
    for (const tin::core::Point2D& p : shape.points()) {
        if (!tin::core::PlanCoordinate::isUsable(p.x(), p.y())) {
            return false;
        }
    }
    return true;
}

// A ring as shapefiles store it repeats its first vertex at its end; the polygon closes by
// itself, so the repeat would be a vertex of its own (a zero-length closing edge).
void dropClosingVertex(tin::core::Polygon& polygon)
{
    const std::vector<tin::core::Point2D>& v = polygon.points();
    if (v.size() >= 2
        && std::fabs(v.back().x() - v.front().x()) < tinshp::ShpReader::LOCATION_DELTA
        && std::fabs(v.back().y() - v.front().y()) < tinshp::ShpReader::LOCATION_DELTA) {
        polygon.removeLastPoint();
    }
}
void dropClosingVertex(tin::core::Polyline&) {}

template <typename Shape>
int distinctVertices(const Shape& shape)
{
    std::set<std::pair<double, double>> distinct;
    for (const tin::core::Point2D& p : shape.points()) {
        distinct.emplace(p.x(), p.y());
    }
    return static_cast<int>(distinct.size());
}

// Writes the items as records 0, 1, ... of a new shapefile with the attributes "Name" and,
// for a group with values, "Value". False when the files cannot be made; a failed write
// throws, and the writer then leaves the earlier files of that name as they were.
template <typename Writer>
bool writeShapefile(const std::string& path, const GeoDataGroupItem& group,
                    const std::vector<mvc::core::ModelItem*>& items)
{
    Writer writer;
    if (!writer.open(path)) {
        return false;
    }
    writer.addStringAttribute("Name");
    if (group.valueType() == GeoDataGroupItem::Enum) {
        writer.addIntAttribute("Value", 10);
    } else if (group.valueType() == GeoDataGroupItem::Real) {
        writer.addDoubleAttribute("Value", 40, 6);
    }
    for (int record = 0; record < static_cast<int>(items.size()); ++record) {
        mvc::core::ModelItem* child = items[static_cast<std::size_t>(record)];
        if constexpr (std::is_same_v<Writer, tinshp::ShpPolygonWriter>) {
            auto polygon = static_cast<GeoDataPolygonItem*>(child);
            writer.writePolygon(record, polygon->polygon());
            if (group.valueType() == GeoDataGroupItem::Enum) {
                writer.writeIntAttribute(record, 1, polygon->value().toInt());
            } else if (group.valueType() == GeoDataGroupItem::Real) {
                writer.writeDoubleAttribute(record, 1, polygon->value().toDouble());
            }
        } else {
            writer.writePolyline(record, static_cast<GeoDataPolylineItem*>(child)->polyline());
        }
        writer.writeStringAttribute(record, 0, child->caption());
    }
    writer.close();
    return true;
}

} // namespace

// Shorthand inside the bodies; each definition names the class in full, since the
// translation tools do not see through an alias to find a text's class.
using Self = GeoDataGroupItemController;

GeoDataGroupItemController::GeoDataGroupItemController(const GeoDataGroupItem* item)
    : ModelItemControllerT(item),
      m_importAction(
          new QAction(QIcon(QStringLiteral(":/images/iconImport.png")), tr("&Import..."), this)),
      m_exportAction(
          new QAction(QIcon(QStringLiteral(":/images/iconExport.png")), tr("&Export..."), this)),
      m_deleteAllAction(new QAction(QIcon(QStringLiteral(":/images/iconDeleteItem.png")),
                                    tr("&Delete all..."), this)),
      m_addPolygonAction(
          new QAction(QIcon(QStringLiteral(":/images/iconPolygon.png")), tr("Add &Polygon"), this)),
      m_addPolylineAction(new QAction(QIcon(QStringLiteral(":/images/iconPolyline.png")),
                                      tr("Add &Polyline"), this))
{
    connect(m_importAction, &QAction::triggered, this, &Self::importGeoData);
    connect(m_exportAction, &QAction::triggered, this, &Self::exportGeoData);
    connect(m_deleteAllAction, &QAction::triggered, this, &Self::deleteAllChildItems);
    connect(m_addPolygonAction, &QAction::triggered, this, &Self::addPolygon);
    connect(m_addPolylineAction, &QAction::triggered, this, &Self::addPolyline);
}

GeoDataGroupItemController::~GeoDataGroupItemController() = default;

void GeoDataGroupItemController::addCustomMenuItems(QMenu* menu)
{
    menu->addAction(m_importAction);
    menu->addSeparator();
    menu->addAction(m_addPolygonAction);
    if (item()->valueType() == GeoDataGroupItem::None) {
        menu->addAction(m_addPolylineAction);
    }
    menu->addSeparator();
    menu->addAction(m_exportAction);
    menu->addSeparator();
    menu->addAction(m_deleteAllAction);
}

std::set<QString> GeoDataGroupItemController::captions() const
{
    return item()->childItemCaptions();
}

QString GeoDataGroupItemController::nextPolygonName() const
{
    return nextName(tr("Polygon%1"), captions());
}

QString GeoDataGroupItemController::nextPolylineName() const
{
    return nextName(tr("Polyline%1"), captions());
}

template <typename Action>
void GeoDataGroupItemController::guarded(Action action)
{
    try {
        action();
    } catch (const std::exception& e) {
        guimisc::UserDialogs::critical(mainWindow(), tr("Error"), QString::fromLocal8Bit(e.what()));
    }
}

void GeoDataGroupItemController::showStatus(const QString& message) const
{
    QMainWindow* window = item()->projectMainWindow();
    if (!window) {
        window = mainWindow();
    }
    if (window) {
        window->statusBar()->showMessage(message, guimisc::WindowSupport::STATUSBAR_TIMEOUT);
    }
}

template <typename Create>
void GeoDataGroupItemController::addShape(Create create, const QString& undoText)
{
    guarded([&] {
        auto shape = create();
        pushAttachChildAtFrontCommand(undoText, shape);
        item()->expandBrowserItem();
        shape->selectBrowserItem();
        shape->showDefineInformation();
    });
}

void GeoDataGroupItemController::addPolygon()
{
    addShape([this] { return item()->createPolygonItem(nextPolygonName()); },
             tr("Add new polygon"));
}

void GeoDataGroupItemController::addPolyline()
{
    addShape([this] { return item()->createPolylineItem(nextPolylineName()); },
             tr("Add new polyline"));
}

void GeoDataGroupItemController::deleteAllChildItemsSilently()
{
    guarded([this] {
        pushUpdateViewCommand(new GeoDataGroupItemControllerDeleteAllChildItemsCommand(
            tr("Delete all %1s").arg(item()->itemTypeName()), item()));
    });
}

QUndoCommand* GeoDataGroupItemController::attachChildAtFrontCommand(const QString& text,
                                                                    mvc::core::ModelItem* child)
{
    return new AttachChildAtFrontCommand(text, child, item());
}

QString GeoDataGroupItemController::selectFileName(bool forExport)
{
    for (;;) {
        const QString path =
            forExport ? guimisc::UserDialogs::getSaveFileName(
                            mainWindow(), tr("Select file name to export"),
                            guimisc::LastIODirectory::get(), tr("Shape file(*.shp)"))
                      : guimisc::UserDialogs::getOpenFileName(
                            mainWindow(), tr("Select file name to import"),
                            guimisc::LastIODirectory::get(), tr("Shape file(*.shp)"));
        if (path.isEmpty()) {
            return path;
        }
        if (guimisc::StringSupport::isAscii(path)) {
            guimisc::LastIODirectory::setFromAbsoluteFileName(path);
            return path;
        }
        guimisc::UserDialogs::warning(mainWindow(), tr("Warning"),
                                      tr("Please specify file name only with ASCII characters."));
    }
}

void GeoDataGroupItemController::exportGeoData()
{
    guarded([this] {
        int polygons = 0;
        int polylines = 0;
        item()->countPolygonsAndPolylines(&polygons, &polylines);
        if (polygons == 0 && polylines == 0) {
            return;
        }
        bool exportPolylines = polygons == 0;
        if (polygons > 0 && polylines > 0) {
            ExportTypeSelectDialog dialog(mainWindow());
            if (dialog.exec() != QDialog::Accepted) {
                return;
            }
            exportPolylines = dialog.exportsPolylines();
        }
        exportShapes(exportPolylines);
    });
}

void GeoDataGroupItemController::exportShapes(bool polylines)
{
    std::vector<mvc::core::ModelItem*> items;
    int skipped = 0;
    for (mvc::core::ModelItem* child : item()->childItems()) {
        int vertices = 0;
        if (auto polyline = qobject_cast<GeoDataPolylineItem*>(child); polyline && polylines) {
            vertices = polyline->polyline()->pointsCount();
        } else if (auto polygon = qobject_cast<GeoDataPolygonItem*>(child); polygon && !polylines) {
            vertices = polygon->polygon()->pointsCount();
        } else {
            continue;
        }
        if (vertices < (polylines ? 2 : 3)) {
            ++skipped;
        } else {
            items.push_back(child);
        }
    }
    const QString skippedMessage =
        polylines ? tr("%1 polylines with fewer than 2 points were not exported.").arg(skipped)
                  : tr("%1 polygons with fewer than 3 points were not exported.").arg(skipped);
    if (items.empty()) {
        guimisc::UserDialogs::warning(mainWindow(), tr("Warning"), skippedMessage);
        return;
    }
    const QString path = selectFileName(true);
    if (path.isEmpty()) {
        return;
    }
    const std::string file = guimisc::StringSupport::toStr(path);
    bool written = false;
    try {
        written = polylines ? writeShapefile<tinshp::ShpPolylineWriter>(file, *item(), items)
                            : writeShapefile<tinshp::ShpPolygonWriter>(file, *item(), items);
    } catch (const std::exception&) {
        written = false;
    }
    if (!written) {
        guimisc::UserDialogs::critical(mainWindow(), tr("Error"), tr("File open error"),
                                       QMessageBox::Ok);
        return;
    }
    showStatus(tr("Data successfully exported to %1").arg(QDir::toNativeSeparators(path)));
    if (skipped > 0) {
        guimisc::UserDialogs::warning(mainWindow(), tr("Warning"), skippedMessage);
    }
}

void GeoDataGroupItemController::importGeoData()
{
    guarded([this] {
        const QString path = selectFileName(false);
        if (!path.isEmpty()) {
            importShapes(path);
        }
    });
}

void GeoDataGroupItemController::importShapes(const QString& path)
{
    const std::string file = guimisc::StringSupport::toStr(path);
    int type = 0;
    if (!tinshp::ShpUtil::shapeType(file, &type)) {
        guimisc::UserDialogs::critical(mainWindow(), tr("Error"), tr("File open error"),
                                       QMessageBox::Ok);
        return;
    }
    if (type != SHAPE_TYPE_ARC && type != SHAPE_TYPE_POLYGON) {
        guimisc::UserDialogs::warning(
            mainWindow(), tr("Warning"),
            tr("Only polygons or polylines can be imported from shape file."));
        return;
    }
    const bool polylines = type == SHAPE_TYPE_ARC;
    GeoDataGroupItem* group = item();
    if (polylines && group->valueType() != GeoDataGroupItem::None) {
        guimisc::UserDialogs::warning(mainWindow(), tr("Warning"),
                                      tr("Polylines can not be imported to this group."));
        return;
    }

    tinshp::ShpImportSettingWizard wizard(file, mainWindow());
    // The wizard takes the editor over; its value is read before the wizard goes.
    GeoDataGroupValueEditWidget* editor = group->buildValueEditWidget();
    if (editor) {
        wizard.setValueSpecifyWidget(dynamic_cast<QWidget*>(editor));
    }
    if (const mvc::core::Model* model = group->model(); model && model->view()) {
        const QRectF region = model->view()->drawnRegion();
        wizard.setDefaultRegion(region.left(), region.right(), region.top(), region.bottom());
    }
    if (wizard.exec() != QDialog::Accepted) {
        return;
    }
    const bool valued = group->valueType() != GeoDataGroupItem::None;
    const bool specified =
        wizard.valueSetting() == tinshp::ShpImportSettingWizard::ValueSpecified;
    const QVariant specifiedValue = editor ? editor->value() : QVariant(0);
    const std::vector<int> partCounts = tinshp::ShpPartCounts::read(file);

    // Every record is read before the group changes, so that a failure adds nothing.
    std::vector<std::unique_ptr<mvc::core::ModelItem>> created;
    std::set<QString> taken = captions();
    int skipped = 0;
    int notFinite = 0;
    int joined = 0;
    auto captionOf = [&](const tinshp::ShpReader& reader, int record) {
        const QString caption =
            wizard.nameSetting() == tinshp::ShpImportSettingWizard::NameFromColumn
                ? reader.getStringAttribute(record, wizard.nameIndex())
                : nextName(polylines ? tr("Polyline%1") : tr("Polygon%1"), taken);
        taken.insert(caption);
        return caption;
    };
    auto readRecords = [&](auto& reader, auto readShape) {
        if (!reader.open(file)) {
            return false;
        }
        for (int record = 0; record < reader.count(); ++record) {
            auto shape = readShape(reader, record);
            if (!wizard.isTarget(record, shape.get())) {
                continue;
            }
            if (!hasUsableCoordinates(*shape)) {
                ++notFinite;
                continue;
            }
            dropClosingVertex(*shape);
            if (distinctVertices(*shape) < (polylines ? 2 : 3)) {
                ++skipped;
                continue;
            }
            if (record < static_cast<int>(partCounts.size()) && partCounts[record] > 1) {
                ++joined;
            }
            const QString caption = captionOf(reader, record);
            if constexpr (std::is_same_v<decltype(shape), std::unique_ptr<tin::core::Polygon>>) {
                std::unique_ptr<GeoDataPolygonItem> polygon(group->createPolygonItem(caption));
                polygon->setPolygon(shape.release());
                if (!valued) {
                    polygon->setValue(QVariant(0));
                } else if (specified) {
                    polygon->setValue(specifiedValue);
                } else {
                    polygon->setValue(wizard.getValue(record, wizard.valueIndex()));
                }
                created.emplace_back(polygon.release());
            } else {
                std::unique_ptr<GeoDataPolylineItem> polyline(group->createPolylineItem(caption));
                polyline->setPolyline(shape.release());
                created.emplace_back(polyline.release());
            }
        }
        reader.close();
        return true;
    };
    bool read = false;
    if (polylines) {
        tinshp::ShpPolylineReader reader;
        read = readRecords(reader, [](const tinshp::ShpPolylineReader& r, int i) {
            return std::unique_ptr<tin::core::Polyline>(r.getPolyline(i));
        });
    } else {
        tinshp::ShpPolygonReader reader;
        read = readRecords(reader, [](const tinshp::ShpPolygonReader& r, int i) {
            return std::unique_ptr<tin::core::Polygon>(r.getPolygon(i));
        });
    }
    if (!read) {
        guimisc::UserDialogs::critical(mainWindow(), tr("Error"), tr("File open error"),
                                       QMessageBox::Ok);
        return;
    }

    for (std::unique_ptr<mvc::core::ModelItem>& child : created) {
        group->attachChildAtFront(child.release());
    }
    if (mvc::proj::Project* owner = group->project()) {
        owner->undoStack()->clear();
    }
    group->setModified(true);
    if (polylines && !created.empty()) {
        group->announcePolylineChange();
    }
    if (const mvc::core::Model* model = group->model(); model && model->view()) {
        model->view()->updateView();
    }
    showStatus(tr("Data successfully imported from %1").arg(QDir::toNativeSeparators(path)));
    if (notFinite > 0) {
        guimisc::UserDialogs::warning(
            mainWindow(), tr("Warning"),
            tr("%1 records were skipped: a coordinate is not a finite number.").arg(notFinite));
    }
    if (skipped > 0 || joined > 0) {
        guimisc::UserDialogs::warning(
            mainWindow(), tr("Warning"),
            tr("%1 records with too few distinct points were skipped; %2 records of several "
               "parts were joined into one.")
                .arg(skipped)
                .arg(joined));
    }
}

} // namespace varnel
