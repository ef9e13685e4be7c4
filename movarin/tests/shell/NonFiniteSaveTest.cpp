// Saves that would write what the project's own readers refuse: an item of any member kind
// given a NaN or infinite coordinate or elevation makes "Save" fail with an Error naming the
// item, the archive on disk stays byte for byte, and once the value is mended the project
// saves and opens again.
#include "MainWindowTestSupport.h"
#include "ProjectTestSupport.h"

#include "movarin/sections/CrossSectionGroupItem.h"
#include "movarin/sections/CrossSectionItem.h"
#include "movarin/sections/GeoDataGroupItem.h"
#include "movarin/sections/GeoDataPolygonItem.h"
#include "movarin/sections/GeoDataPolylineItem.h"
#include "movarin/sections/GeoDataTopForEditItem.h"
#include "movarin/shell/CreateModeMainWindow.h"
#include "movarin/shell/CreateModeMainWindowModel.h"
#include "movarin/shell/CreateModeMainWindowModelRootItem.h"
#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/shell/EditModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/shell/MainWindowActionManager.h"
#include "movarin/shell/ProjectFile.h"
#include "movarin/surfaces/GeoEditSurfaceByBrushItem.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItem.h"
#include "movarin/surfaces/GeoEditSurfaceItem.h"
#include "movarin/surfaces/MoldGroupItem.h"
#include "movarin/surfaces/MoldItem.h"
#include "movarin/surfaces/MoldsContainer.h"
#include "movarin/survey/CoordinatePointsGroupItem.h"
#include "movarin/survey/CoordinatePointsItem.h"
#include "movarin/survey/ReadOnlyTinItem.h"
#include "movarin/survey/TinItem.h"

#include "orlin/core/PointSet.h"
#include "orlin/core/Polygon.h"
#include "orlin/core/Polyline.h"
#include "orlin/core/Tin.h"

#include <guimisc/UserDialogScript.h>

#include <QAction>

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <memory>

namespace varnel::test {
namespace {

using Script = guimisc::UserDialogScript;
using tin::core::Point;

const double NaN = std::numeric_limits<double>::quiet_NaN();
const double INF = std::numeric_limits<double>::infinity();

QString refusal(const QString& name)
{
    return QStringLiteral("Cannot save %1: it holds a coordinate that is not a finite number.")
        .arg(name);
}

/// One way of spoiling an item: what it does, the name the message gives, and how the value
/// is mended again afterwards.
struct Spoil {
    const char* what;
    QString name;
    std::function<void()> spoil;
    std::function<void()> mend;
};

class NonFiniteSaveTest : public MainWindowTest {
protected:
    /// "Save" from the File menu's action; the message boxes it showed.
    std::vector<Script::Record> save()
    {
        Script script;
        window().actionManager()->action(QStringLiteral("Save"))->trigger();
        return script.messageBoxes();
    }

    /// Each spoil in turn: Save fails with the refusal and the archive stays as it was;
    /// after the mend the next one is tried. At the end the project saves without a word.
    void expectEachRefused(const QString& archive, const std::vector<Spoil>& spoils)
    {
        const QByteArray saved = fileBytes(archive);
        ASSERT_FALSE(saved.isEmpty());
        for (const Spoil& s : spoils) {
            SCOPED_TRACE(s.what);
            s.spoil();
            const std::vector<Script::Record> boxes = save();
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].kind, guimisc::UserDialogs::Kind::Critical);
            EXPECT_EQ(boxes[0].title, "Error");
            EXPECT_EQ(boxes[0].text, refusal(s.name));
            EXPECT_EQ(fileBytes(archive), saved) << "the earlier archive stays";
            EXPECT_TRUE(window().project()->projectFile()->isModified());
            s.mend();
        }
        EXPECT_TRUE(save().empty());
        EXPECT_FALSE(window().project()->projectFile()->isModified());
    }
};

TEST_F(NonFiniteSaveTest, EveryEditModeMemberRefusesANonFiniteValueAndKeepsTheArchive)
{
    window().newEditProject();
    auto editWindow = qobject_cast<EditModeMainWindow*>(window().project()->projectWindow());
    ASSERT_NE(editWindow, nullptr);
    editWindow->setTin(squareGridTin(4, 0.0));
    EditModeMainWindowModelRootItem* root = editWindow->model()->rootItem();
    const QString archive = saveAs(QStringLiteral("river.emvn"));
    ASSERT_FALSE(archive.isEmpty());

    TinItem* edited = root->tinItem();
    ReadOnlyTinItem* base = root->baseTinItem();
    GeoDataTopForEditItem* top = root->geoDataTopItem();
    GeoDataGroupItem* roughness = top->groupItem(QStringLiteral("roughness"));
    GeoDataGroupItem* reference = top->groupItem(QStringLiteral("referenceinformation"));
    CrossSectionGroupItem* sections = root->crossSectionGroupItem();
    GeoEditSurfaceGroupItem* surfaces = root->geoEditSurfaceGroupItem();
    MoldItem* mold = surfaces->moldsContainer()->group(mold::core::Mold::Add)->molds().front();
    const auto moldL = mold->mold().l();
    const auto moldH = mold->mold().h();

    // Items that come and go with their spoil.
    auto detachAndDelete = [](mvc::core::ModelItem* parent, mvc::core::ModelItem*& child) {
        parent->detachChild(child);
        delete child;
        child = nullptr;
    };
    mvc::core::ModelItem* added = nullptr;
    CrossSectionItem* section = sections->buildCrossSection(QStringLiteral("S1"), Point(5, 5),
                                                            Point(35, 25));
    sections->attachChildAtFront(section);

    const std::vector<Spoil> spoils{
        {"an elevation of the edited TIN", QStringLiteral("TIN"),
         [&] { edited->setTin(new tin::core::Tin(squareGridTin(4, 100.0, NaN, true))); },
         [&] { edited->setTin(new tin::core::Tin(squareGridTin(4, 0.0))); }},
        {"an elevation of the base TIN", QStringLiteral("base TIN"),
         [&] { base->setTin(new tin::core::Tin(squareGridTin(4, 200.0, -INF, true))); },
         [&] { base->setTin(new tin::core::Tin(squareGridTin(4, 0.0))); }},
        {"a vertex of a roughness polygon", QStringLiteral("bed"),
         [&] {
             GeoDataPolygonItem* polygon = roughness->createPolygonItem(QStringLiteral("bed"));
             polygon->setPolygon(new tin::core::Polygon({{0, 0, -1}, {NaN, 0, -1}, {0, 10, -1}}));
             polygon->setValue(0.03);
             roughness->attachChildAtFront(polygon);
             added = polygon;
         },
         [&] { detachAndDelete(roughness, added); }},
        {"a vertex of a reference line", QStringLiteral("C"),
         [&] {
             GeoDataPolylineItem* line = reference->createPolylineItem(QStringLiteral("C"));
             line->setPolyline(new tin::core::Polyline({{0, 0, -1}, {10, INF, -1}}));
             reference->attachChildAtFront(line);
             added = line;
         },
         [&] { detachAndDelete(reference, added); }},
        {"an end of a cross section", QStringLiteral("S1"),
         [&] { section->setPath({{NaN, 5, -1}, {35, 25, -1}}); },
         [&] { section->setPath({{5, 5, -1}, {35, 25, -1}}); }},
        {"a triangle a brush surface put in", QStringLiteral("BrushEdit 1"),
         [&] {
             auto brush = surfaces->createGeoEditSurfaceByBrushItem(
                 QStringLiteral("BrushEdit 1"), squareGridTin(1, 300.0, NaN, true), squareGridTin(1, 300.0));
             surfaces->attachChildAtFront(brush);
             added = brush;
         },
         [&] { detachAndDelete(surfaces, added); }},
        {"a vertex of a surface's path", QStringLiteral("Surface 1"),
         [&] {
             GeoEditSurfaceItem* surface = surfaces->createGeoEditSurfaceItem(
                 QStringLiteral("Surface 1"), {Point(5, 20, 30), Point(35, 20, 50)}, *mold);
             ASSERT_NE(surface, nullptr);
             surface->setPath({Point(5, 20, 30), Point(35, 20, NaN)});
             surfaces->attachChildAtFront(surface);
             added = surface;
         },
         [&] { detachAndDelete(surfaces, added); }},
        {"a point of a mold", mold->name(),
         [&] { mold->setLH(1, NaN, moldH[1]); },
         [&] { mold->setLH(moldL, moldH); }},
    };
    expectEachRefused(archive, spoils);

    // What was saved last opens again with the mended values.
    ASSERT_TRUE(window().closeProject());
    Script script;
    window().openProject(archive);
    ASSERT_NE(window().project(), nullptr);
    EXPECT_TRUE(script.messageBoxes().empty());
    auto reopened = qobject_cast<EditModeMainWindow*>(window().project()->projectWindow());
    ASSERT_NE(reopened, nullptr);
    const std::vector<CrossSectionItem*> back =
        reopened->model()->rootItem()->crossSectionGroupItem()->crossSections();
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0]->startX(), 5.0);
    EXPECT_EQ(reopened->tinItem()->tin()->allTriangles().size(), 32u);
}

TEST_F(NonFiniteSaveTest, ASurveyPointOfNoFiniteElevationRefusesTheCreateModeSave)
{
    window().newCreateProject();
    auto createWindow = qobject_cast<CreateModeMainWindow*>(window().project()->projectWindow());
    ASSERT_NE(createWindow, nullptr);
    const QString tpo = file(QStringLiteral("survey.tpo"));
    ASSERT_TRUE(writeFileBytes(tpo, "0,0,1\n10,0,2\n0,10,3\n10,10,4\n"));
    CoordinatePointsGroupItem* group = createWindow->model()->rootItem()->coordinatePointsGroupItem();
    CoordinatePointsItem* points = group->importCoordinatePoints(tpo, QString());
    ASSERT_NE(points, nullptr);
    group->attachChildAtFront(points);
    const QString archive = saveAs(QStringLiteral("survey.cmvn"));
    ASSERT_FALSE(archive.isEmpty());

    std::shared_ptr<Point> spoilt;
    points->pointSet()->forEachPoint([&](const std::shared_ptr<Point>& p) {
        if (p->x() == 10 && p->y() == 10) {
            spoilt = p;
        }
    });
    ASSERT_NE(spoilt, nullptr);
    expectEachRefused(archive, {{"a survey point's elevation", points->caption(),
                                 [&] { spoilt->setElevation(NaN); },
                                 [&] { spoilt->setElevation(4); }}});
}

} // namespace
} // namespace varnel::test
