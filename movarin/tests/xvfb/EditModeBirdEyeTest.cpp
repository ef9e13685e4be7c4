// The bird's-eye command of an edit-mode project, drawn by the X server: it shows the edited
// TIN as it is at the command, not the base TIN.
#include "movarin/shell/BirdEyeView.h"
#include "movarin/shell/BirdEyeWindow.h"
#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/shell/MainWindow.h"
#include "movarin/shell/Project.h"
#include "movarin/survey/TinItem.h"

#include "brask/window/ProjectMdiArea.h"
#include "orlin/core/Tin.h"

#include "support/ScratchSettings.h"
#include "support/TerrainStl.h"

#include <guimisc/UserDialogScript.h>

#include <QMdiSubWindow>
#include <QTest>

#include <vtkActor.h>
#include <vtkActorCollection.h>
#include <vtkMapper.h>
#include <vtkPolyData.h>
#include <vtkRenderer.h>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

const bool surfaceFormatSet = (setBirdEyeSurfaceFormat(), true);

vtkIdType shownTriangles(const BirdEyeView* view)
{
    vtkActorCollection* actors = view->renderer()->GetActors();
    if (actors->GetNumberOfItems() != 1) {
        return -1;
    }
    return vtkPolyData::SafeDownCast(actors->GetLastActor()->GetMapper()->GetInput())
        ->GetNumberOfPolys();
}

TEST(EditModeBirdEye, ShowsTheEditedTinAtEachCommand)
{
    ASSERT_TRUE(surfaceFormatSet);
    ScratchSettings scratch;
    MainWindow window;
    window.resize(1000, 800);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    guimisc::UserDialogScript script;
    const QString stl = scratch.homePath() + QStringLiteral("/terrain.stl");
    const auto facets = static_cast<vtkIdType>(TerrainStl::write(stl));
    window.openProject(stl);
    auto edit = qobject_cast<EditModeMainWindow*>(window.project()->projectWindow());
    ASSERT_NE(edit, nullptr);
    tin::core::Tin* edited = edit->tinItem()->tin();
    ASSERT_NE(edited, nullptr);
    edited->removeTriangle(*edited->allTriangles().begin());

    window.focusBirdEyeWindow();
    QMdiSubWindow* birdEye = window.mdiArea()->activeSubWindow();
    ASSERT_NE(birdEye, nullptr);
    auto view = qobject_cast<BirdEyeView*>(birdEye->widget());
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(birdEye->isVisible());
    EXPECT_EQ(shownTriangles(view), facets - 1) << "the edited TIN, one triangle short";

    // Back to the project window, an edit, and the command again: the view follows.
    window.focusProjectMainWindow();
    edited->removeTriangle(*edited->allTriangles().begin());
    EXPECT_EQ(shownTriangles(view), facets - 1) << "the view keeps what it was given";
    window.focusBirdEyeWindow();
    EXPECT_EQ(window.mdiArea()->activeSubWindow(), birdEye);
    EXPECT_EQ(shownTriangles(view), facets - 2);
    EXPECT_EQ(window.mdiArea()->subWindowList().size(), 2);
    EXPECT_TRUE(script.messageBoxes().empty());
}

} // namespace
} // namespace varnel::test
