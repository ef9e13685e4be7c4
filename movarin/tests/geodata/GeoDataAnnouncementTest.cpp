// Every way a polyline can change, come or go reaches the top item's
// `geoDataPolylineChanged`, on which the cross-section windows recompute their crossings.
#include "GeoDataTestSupport.h"

#include "movarin/sections/GeoDataPolylineSettingDialog.h"
#include "movarin/sections/GeoDataShapeItemController.h"
#include "movarin/sections/GeoDataTopForEditItem.h"

#include "orlin/io/BinPolylineExporter.h"

#include <QAction>
#include <QDir>
#include <QDomDocument>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardItem>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace varnel::test {
namespace {

class GeoDataAnnouncementTest : public GeoDataTest {
protected:
    GeoDataAnnouncementTest() : m_spy(top(), &GeoDataTopItem::geoDataPolylineChanged) {}

    /// Whether `step` made the top item announce at least once.
    bool announces(const std::function<void()>& step)
    {
        m_spy.clear();
        step();
        return !m_spy.isEmpty();
    }

    GeoDataGroupItem* reference() const { return group("referenceinformation"); }

    QSignalSpy m_spy;
};

TEST_F(GeoDataAnnouncementTest, EveryEditOfAPolylineAndItsUndo)
{
    GeoDataPolylineItem* polyline = nullptr;
    EXPECT_TRUE(announces([&] { polyline = addPolyline(reference()); }));
    EXPECT_TRUE(announces([&] { clickAt(QPointF(0, 0)); }));
    EXPECT_TRUE(announces([&] { mouse().move(pixel(QPointF(20, 5))); }));
    EXPECT_TRUE(announces([&] { clickAt(QPointF(20, 0)); }));
    EXPECT_TRUE(announces([&] { clickAt(QPointF(40, 10)); }));
    EXPECT_TRUE(announces([&] { mouse().key(Qt::Key_Return); }));
    ASSERT_EQ(polyline->polyline()->pointsCount(), 3);

    GeoDataShapeItemController* controller = controllerOf(polyline);
    EXPECT_TRUE(announces([&] { dragFromTo(QPointF(20, 0), QPointF(20, -10)); }));
    EXPECT_TRUE(announces([&] {
        controller->addVertexAction()->trigger();
        dragFromTo(QPointF(10, -5), QPointF(10, -20));
    }));
    EXPECT_TRUE(announces([&] {
        controller->removeVertexAction()->trigger();
        clickAt(QPointF(10, -20));
    }));
    EXPECT_TRUE(announces([&] { undoStack()->undo(); }));
    EXPECT_TRUE(announces([&] { undoStack()->redo(); }));

    EXPECT_TRUE(announces([&] {
        ModalAnswerer widen([](QWidget* dialog) {
            dialog->findChild<QSpinBox*>(QStringLiteral("widthSpinBox"))->setValue(4);
            static_cast<QDialog*>(dialog)->accept();
        });
        controller->showPropertyDialog();
    }));
    EXPECT_EQ(polyline->setting().lineWidth.value(), 4);
    EXPECT_EQ(doneTexts().back(), "Update polyline setting");
    EXPECT_TRUE(announces([&] { undoStack()->undo(); }));
    EXPECT_EQ(polyline->setting().lineWidth.value(), 1);

    EXPECT_TRUE(announces([&] { polyline->browserItem()->setText(QStringLiteral("C")); }));
    EXPECT_TRUE(announces([&] { polyline->browserItem()->setCheckState(Qt::Unchecked); }));

    EXPECT_TRUE(announces([&] {
        m_script.answer(QMessageBox::Yes);
        controller->deleteMe();
    }));
    EXPECT_TRUE(reference()->childItems().empty());
    EXPECT_TRUE(announces([&] { undoStack()->undo(); }));
    EXPECT_EQ(reference()->childItems().size(), 1u);
}

TEST_F(GeoDataAnnouncementTest, PolylinesComingAndGoingWithTheirGroup)
{
    definePolygon(reference(), {{0, 0}, {10, 0}, {0, 10}});
    // Polygons alone announce nothing.
    EXPECT_FALSE(announces([&] {
        m_script.answer(QMessageBox::Yes);
        triggerMenuEntry(reference(), QStringLiteral("&Delete all..."));
    }));
    EXPECT_FALSE(announces([&] { undoStack()->undo(); }));

    definePolyline(reference(), {{0, 0}, {10, 10}});
    EXPECT_TRUE(announces([&] {
        m_script.answer(QMessageBox::Yes);
        triggerMenuEntry(reference(), QStringLiteral("&Delete all..."));
    }));
    EXPECT_TRUE(reference()->childItems().empty());
    EXPECT_TRUE(announces([&] { undoStack()->undo(); }));
    EXPECT_EQ(reference()->childItems().size(), 2u);

    // Undoing the polyline's whole definition and its addition takes it out of the tree.
    EXPECT_TRUE(announces([&] {
        while (doneTexts().back() != "Add new polyline") {
            undoStack()->undo();
        }
        undoStack()->undo();
    }));
    EXPECT_EQ(reference()->childItems().size(), 1u);

    // Loading a polyline's file announces its new shape.
    const QDir folder(QDir(m_session.project()->workFolder())
                          .filePath(QStringLiteral("geoData/referenceinformation")));
    ASSERT_TRUE(folder.mkpath(QStringLiteral(".")));
    tin::io::BinPolylineExporter().exportPolyline(
        folder.filePath(QStringLiteral("geodata7.dat")).toLocal8Bit(),
        tin::core::Polyline{{1, 1}, {2, 3}});
    GeoDataPolylineItem* loaded = reference()->createPolylineItem(QStringLiteral("loaded"));
    reference()->attachChildAtBack(loaded);
    loaded->setFilename("geodata7.dat");
    QDomDocument document;
    document.setContent(QStringLiteral("<GeoDataPolyLine caption=\"2\"/>"));
    EXPECT_TRUE(announces([&] { loaded->loadFromProjectMainFile(document.documentElement()); }));
    EXPECT_EQ(verticesOf(*loaded->polyline()), (Vertices{{1, 1}, {2, 3}}));
}

TEST_F(GeoDataAnnouncementTest, AFailingListenerDoesNotStopTheEdit)
{
    GeoDataPolylineItem* polyline = definePolyline(reference(), {{0, 0}, {20, 0}});
    // A listener that fails as GEOS does on a degenerate line.
    QObject::connect(top(), &GeoDataTopItem::geoDataPolylineChanged,
                     [] { throw std::runtime_error("IllegalArgumentException"); });
    const int entries = undoStack()->count();
    dragFromTo(QPointF(20, 0), QPointF(20, 10));
    EXPECT_EQ(verticesOf(*polyline->polyline()), (Vertices{{0, 0}, {20, 10}}));
    EXPECT_EQ(undoStack()->count(), entries + 1);
    undoStack()->undo();
    EXPECT_EQ(verticesOf(*polyline->polyline()), (Vertices{{0, 0}, {20, 0}}));
    m_script.answer(QMessageBox::Yes);
    triggerMenuEntry(reference(), QStringLiteral("&Delete all..."));
    EXPECT_TRUE(reference()->childItems().empty());
    // The definition's information and the question, and no error.
    EXPECT_EQ(m_script.messageBoxes().size(), 2u);
}

} // namespace
} // namespace varnel::test
