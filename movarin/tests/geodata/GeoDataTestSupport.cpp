#include "GeoDataTestSupport.h"

#include "movarin/sections/GeoDataShapeItemController.h"
#include "movarin/sections/GeoDataTopForEditItem.h"
#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/shell/EditModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"

#include "brask/core/ModelItemController.h"
#include "brask/core/View.h"

#include <QAction>
#include <QMenu>
#include <QUndoStack>

#include <stdexcept>
#include <type_traits>

namespace varnel::test {

namespace {

template <class Item>
Item* attachShape(GeoDataGroupItem* group, Item* item, const Vertices& vertices)
{
    auto shape = new std::remove_pointer_t<decltype(item->shape())>();
    for (const auto& [x, y] : vertices) {
        shape->addPoint(tin::core::Point2D(x, y, -1));
    }
    item->setShape(shape);
    group->attachChildAtBack(item);
    return item;
}

} // namespace

GeoDataPolygonItem* attachPolygon(GeoDataGroupItem* group, const QString& caption,
                                  const Vertices& vertices, const QVariant& value)
{
    GeoDataPolygonItem* polygon = attachShape(group, group->createPolygonItem(caption), vertices);
    polygon->setValue(value);
    return polygon;
}

GeoDataPolylineItem* attachPolyline(GeoDataGroupItem* group, const QString& caption,
                                    const Vertices& vertices)
{
    return attachShape(group, group->createPolylineItem(caption), vertices);
}

QAction* menuAction(const QList<QAction*>& actions, const QString& text)
{
    for (QAction* action : actions) {
        if (action->text() == text) {
            return action;
        }
    }
    return nullptr;
}

GeoDataTest::GeoDataTest()
{
    ScratchSettings::writeStartupDefaults();
    m_session.newEditProject();
    m_window = m_session.createEditWindow();
    if (!m_window) {
        throw std::runtime_error("No edit-mode window");
    }
    view()->resize(400, 300);
    view()->fit(QRectF(-100.0, -75.0, 200.0, 150.0));
}

GeoDataTest::~GeoDataTest() = default;

EditModeMainWindowModelRootItem* GeoDataTest::root() const
{
    return m_window->model()->rootItem();
}

GeoDataTopForEditItem* GeoDataTest::top() const
{
    return root()->geoDataTopItem();
}

GeoDataGroupItem* GeoDataTest::group(const char* name) const
{
    GeoDataGroupItem* found = top()->groupItem(QLatin1String(name));
    if (!found) {
        throw std::runtime_error(std::string("No group ") + name);
    }
    return found;
}

mvc::core::View* GeoDataTest::view() const
{
    return m_window->view();
}

QUndoStack* GeoDataTest::undoStack() const
{
    return m_session.project() ? m_session.project()->undoStack() : nullptr;
}

QStringList GeoDataTest::doneTexts() const
{
    QStringList texts;
    for (int i = 0; i < undoStack()->index(); ++i) {
        texts << undoStack()->text(i);
    }
    return texts;
}

QPoint GeoDataTest::pixel(const QPointF& world) const
{
    return view()->conv(world).toPoint();
}

MouseOn GeoDataTest::mouse() const
{
    return MouseOn(view());
}

void GeoDataTest::clickAt(const QPointF& world) const
{
    const QPoint at = pixel(world);
    mouse().move(at);
    mouse().click(at);
}

void GeoDataTest::dragFromTo(const QPointF& from, const QPointF& to) const
{
    mouse().move(pixel(from));
    mouse().drag(pixel(from), pixel(to));
}

void GeoDataTest::triggerMenuEntry(mvc::core::ModelItem* item, const QString& text) const
{
    QAction* action = menuAction(item->controller()->rightClickMenu()->actions(), text);
    if (!action) {
        throw std::runtime_error("No menu entry " + text.toStdString());
    }
    action->trigger();
}

GeoDataPolygonItem* GeoDataTest::addPolygon(GeoDataGroupItem* group) const
{
    triggerMenuEntry(group, QStringLiteral("Add &Polygon"));
    return qobject_cast<GeoDataPolygonItem*>(group->childItems().front());
}

GeoDataPolylineItem* GeoDataTest::addPolyline(GeoDataGroupItem* group) const
{
    triggerMenuEntry(group, QStringLiteral("Add &Polyline"));
    return qobject_cast<GeoDataPolylineItem*>(group->childItems().front());
}

void GeoDataTest::clickAndFinish(const Vertices& points) const
{
    for (const auto& [x, y] : points) {
        clickAt(QPointF(x, y));
    }
    mouse().key(Qt::Key_Return);
}

GeoDataPolygonItem* GeoDataTest::definePolygon(GeoDataGroupItem* group,
                                               const Vertices& points) const
{
    GeoDataPolygonItem* polygon = addPolygon(group);
    if (group->valueType() == GeoDataGroupItem::None) {
        clickAndFinish(points);
    } else {
        ModalAnswerer ok([](QWidget* dialog) { static_cast<QDialog*>(dialog)->accept(); });
        clickAndFinish(points);
    }
    return polygon;
}

GeoDataPolylineItem* GeoDataTest::definePolyline(GeoDataGroupItem* group,
                                                 const Vertices& points) const
{
    GeoDataPolylineItem* polyline = addPolyline(group);
    clickAndFinish(points);
    return polyline;
}

GeoDataShapeItemController* GeoDataTest::controllerOf(const mvc::core::ModelItem* item)
{
    return static_cast<GeoDataShapeItemController*>(item->controller());
}

EditModeMainWindowModelRootItem* GeoDataTest::saveAndReopen(const QString& archive)
{
    Project* project = m_session.project();
    if (!project->save() || !project->zipTo(archive)) {
        ADD_FAILURE() << "cannot save " << archive.toStdString();
        return nullptr;
    }
    Project& reopened = m_reopened.newEditProject();
    if (!reopened.unzipFrom(archive)) {
        ADD_FAILURE() << "cannot unpack " << archive.toStdString();
        return nullptr;
    }
    reopened.load();
    auto window = qobject_cast<EditModeMainWindow*>(reopened.projectWindow());
    if (!window) {
        ADD_FAILURE() << "the reopened project has no edit-mode window";
        return nullptr;
    }
    return window->model()->rootItem();
}

} // namespace varnel::test
