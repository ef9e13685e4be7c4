// The path of a mold-and-path surface typed in "GeoEdit Surface Path Property" (the surface's
// "Edit Path"), on sloping ground: slope and length against the plan geometry, a slope
// written into every row laying the path on one grade, OK as one "Edit" step, Cancel putting
// path and reference lines back, row removal and what it refuses, values refused, and the
// cells announced after a change. Oracles: the ground z = 0.01 x + 0.02 y, plan lengths
// summed along the path, the undo stack, the default reference lines recomputed.
#include "SurfaceEditTestSupport.h"

#include "support/ModalAnswerer.h"

#include "movarin/surfaces/GeoEditSurfaceItemPathPropertyDialog.h"
#include "movarin/surfaces/GeoEditSurfaceItemPropertyPathTableModel.h"

#include <guimisc/MultiCellOperableTableView.h>

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyledItemDelegate>

#include <cmath>
#include <functional>

namespace varnel::test {
namespace {

using Action = SurfaceController::Action;
using Dialog = GeoEditSurfaceItemPathPropertyDialog;
using Model = GeoEditSurfaceItemPropertyPathTableModel;
using Line = SurfaceController::ReferenceLine;

class SurfacePathDialogTest : public SurfaceEditTest {
protected:
    void SetUp() override
    {
        SurfaceEditTest::SetUp();
        m_window->setTin(slopedTerrain());
    }

    /// Runs "Edit Path" on `surface` with `edit` as the user in front of the dialog.
    void editPath(GeoEditSurfaceItem* surface, const std::function<void(Dialog*)>& edit)
    {
        ModalAnswerer answerer([&](QWidget* widget) {
            auto dialog = qobject_cast<Dialog*>(widget);
            ASSERT_NE(dialog, nullptr) << widget->metaObject()->className();
            edit(dialog);
        });
        trigger(surface, Action::EditPathAction);
        EXPECT_TRUE(answerer.answered());
        EXPECT_FALSE(answerer.leftOpen());
    }

    /// Types `text` into the cell as a paste does.
    static void type(Dialog* dialog, int row, int column, const QString& text)
    {
        dialog->tableView()->setCurrentIndex(dialog->model()->index(row, column));
        dialog->tableView()->pasteText(text);
    }
    static double cell(Dialog* dialog, int row, int column)
    {
        return dialog->model()->index(row, column).data().toDouble();
    }
    static void press(Dialog* dialog, QDialogButtonBox::StandardButton which)
    {
        dialog->findChild<QDialogButtonBox*>()->button(which)->click();
    }
};

// Row 1 of a two-point path shows (z1 - z0) / d and d; row 0 shows neither. "Length" is
// greyed and takes nothing, nor does the slope of row 0; a slope typed in row 1 sets its
// elevation.
TEST_F(SurfacePathDialogTest, SlopeAndLengthOfTwoPoints)
{
    GeoEditSurfaceItem* surface = addSurface("Convex (Add)", {{20, 50}, {50, 90}});
    select(surface);
    const std::vector<tin::core::Point> path = surface->path();
    const double d = std::hypot(path[1].x() - path[0].x(), path[1].y() - path[0].y());
    ASSERT_DOUBLE_EQ(d, 50.0);
    ASSERT_NE(path[1].elevation(), path[0].elevation()) << "sloping ground";
    editPath(surface, [&](Dialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "GeoEdit Surface Path Property");
        Model* model = dialog->model();
        QStringList headers;
        for (int c = 0; c < model->columnCount(); ++c) {
            headers << model->headerData(c, Qt::Horizontal).toString();
        }
        EXPECT_EQ(headers.join(","), "X,Y,Elevation,Slope,Length");
        ASSERT_EQ(model->rowCount(), 2);
        EXPECT_DOUBLE_EQ(cell(dialog, 1, Model::Slope), (path[1].elevation() - path[0].elevation()) / d);
        EXPECT_DOUBLE_EQ(cell(dialog, 1, Model::Length), d);
        EXPECT_FALSE(model->index(0, Model::Slope).data().isValid());
        EXPECT_FALSE(model->index(0, Model::Length).data().isValid());
        auto delegate = qobject_cast<QStyledItemDelegate*>(dialog->tableView()->itemDelegate());
        ASSERT_NE(delegate, nullptr);
        EXPECT_EQ(delegate->displayText(model->index(1, Model::Length).data(), QLocale::c()), "50.00000");

        EXPECT_FALSE(model->flags(model->index(1, Model::Length)) & Qt::ItemIsEnabled);
        EXPECT_EQ(model->flags(model->index(0, Model::Slope)), Qt::NoItemFlags);
        type(dialog, 1, Model::Length, QStringLiteral("80"));
        EXPECT_DOUBLE_EQ(cell(dialog, 1, Model::Length), d);
        EXPECT_FALSE(model->setData(model->index(0, Model::Slope), 0.5));
        EXPECT_DOUBLE_EQ(cell(dialog, 0, Model::Elevation), path[0].elevation());

        type(dialog, 1, Model::Slope, QStringLiteral("-0.1"));
        EXPECT_NEAR(cell(dialog, 1, Model::Elevation), path[0].elevation() - 5.0, 1e-9);
        EXPECT_NEAR(cell(dialog, 1, Model::Slope), -0.1, 1e-12);
        press(dialog, QDialogButtonBox::Ok);
    });
    EXPECT_NEAR(surface->path()[1].elevation(), path[0].elevation() - 5.0, 1e-9);
}

// With "Edit all columns" a slope typed anywhere lays the path on that grade from its first
// vertex: z_i = z_0 + s x the plan length up to vertex i. OK applies it as one "Edit" step
// (batch apply off), undone as one.
TEST_F(SurfacePathDialogTest, ASlopeInEveryRowLaysThePathOnOneGradeAndOkIsOneStep)
{
    GeoEditSurfaceItem* surface = addSurface("Convex (Add)", {{15, 30}, {35, 38}, {52, 55}, {60, 75}, {82, 80}});
    SurfaceController* c = select(surface);
    const std::vector<tin::core::Point> before = surface->path();
    const int entries = stack().count();
    const double s = 0.0375;
    editPath(surface, [&](Dialog* dialog) {
        dialog->editAllColumnsCheckBox()->setChecked(true);
        type(dialog, 2, Model::Slope, QString::number(s, 'g', 17));
        // Hovering a cell highlights its column while "Edit all columns" is on.
        emit dialog->tableView()->entered(dialog->model()->index(0, Model::Elevation));
        EXPECT_EQ(dialog->activeColumn(), Model::Elevation);
        press(dialog, QDialogButtonBox::Ok);
    });
    const std::vector<tin::core::Point> path = surface->path();
    ASSERT_EQ(path.size(), before.size());
    double along = 0.0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (i > 0) {
            along += std::hypot(before[i].x() - before[i - 1].x(), before[i].y() - before[i - 1].y());
        }
        EXPECT_EQ(path[i].x(), before[i].x());
        EXPECT_EQ(path[i].y(), before[i].y());
        EXPECT_NEAR(path[i].elevation(), before[0].elevation() + s * along, 1e-9) << "vertex " << i;
    }
    EXPECT_FALSE(c->isEdited());
    ASSERT_EQ(stack().count(), entries + 1);
    EXPECT_EQ(stack().undoText(), "Edit GeoEdit 1 (Add)");
    stack().undo();
    EXPECT_EQ(xyz(surface->path()), xyz(before));
}

// Cancel announces the whole table once and puts back the path and the reference lines,
// a line the user set included; nothing is applied.
TEST_F(SurfacePathDialogTest, CancelAnnouncesTheWholeTableAndPutsPathAndLinesBack)
{
    GeoEditSurfaceItem* surface = addSurface("Convex (Add)", {{20, 50}, {40, 50}, {60, 50}, {80, 50}});
    SurfaceController* c = select(surface);
    SurfaceController::ReferenceLines lines = c->pendingReferenceLines();
    lines[1] = Line{tin::core::Point2D(1.0, -1.0), true};
    c->activeHelper()->restorePending(c->pendingPath(), lines);
    const SurfaceState before = pendingOf(surface);
    const SurfaceState applied = stateOf(surface);
    const int entries = stack().count();
    editPath(surface, [&](Dialog* dialog) {
        Model* model = dialog->model();
        ASSERT_TRUE(model->removeRows(1, 1));
        ASSERT_TRUE(model->insertRows(0, 1));
        type(dialog, 0, Model::X, QStringLiteral("5"));
        type(dialog, 2, Model::Y, QStringLiteral("44"));
        ASSERT_NE(pendingOf(surface), before);
        QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
        press(dialog, QDialogButtonBox::Cancel);
        ASSERT_EQ(changed.count(), 1);
        EXPECT_EQ(changed[0][0].toModelIndex(), model->index(0, 0));
        EXPECT_EQ(changed[0][1].toModelIndex(), model->index(3, Model::Length));
    });
    EXPECT_EQ(pendingOf(surface), before);
    EXPECT_EQ(stateOf(surface), applied);
    EXPECT_FALSE(c->isEdited());
    EXPECT_EQ(stack().count(), entries);
}

// Removing two rows from row 1 of five leaves points 0, 3 and 4; a removal that would leave
// one point (two on a closed path) is refused; removing the first vertex gives the new
// first one its default line up the y axis.
TEST_F(SurfacePathDialogTest, RowRemovalKeepsAPathAndItsLines)
{
    GeoEditSurfaceItem* surface = addSurface("Convex (Add)", {{15, 30}, {35, 38}, {52, 55}, {60, 75}, {82, 80}});
    SurfaceController* c = select(surface);
    setBatchApply(surface, true);
    const auto before = xyz(surface->path());
    editPath(surface, [&](Dialog* dialog) {
        Model* model = dialog->model();
        ASSERT_TRUE(model->removeRows(1, 2));
        const auto now = xyz(c->pendingPath());
        ASSERT_EQ(now.size(), 3u);
        EXPECT_EQ(now[0], before[0]);
        EXPECT_EQ(now[1], before[3]);
        EXPECT_EQ(now[2], before[4]);
        EXPECT_FALSE(model->removeRows(0, 2)) << "one point left";
        EXPECT_FALSE(model->removeRows(2, 2)) << "beyond the table";
        ASSERT_TRUE(model->removeRows(0, 1));
        EXPECT_EQ(c->pendingReferenceLines(), Line::defaultsFor(c->pendingPath()));
        EXPECT_EQ(c->pendingReferenceLines()[0], (Line{tin::core::Point2D(0, 1), false}));
        EXPECT_FALSE(model->removeRows(1, 1)) << "two points are the least";
        EXPECT_EQ(model->rowCount(), 2);
        press(dialog, QDialogButtonBox::Ok);
    });
    EXPECT_TRUE(c->isEdited()) << "batch apply: marked, not applied";
    EXPECT_EQ(xyz(surface->path()), before);
    trigger(surface, Action::RevertEditAction);

    setBatchApply(surface, false);

    GeoEditSurfaceItem* ring = addSurface("Convex (Add)", {{30, 25}, {70, 25}, {70, 75}, {30, 75}});
    select(ring);
    trigger(ring, Action::CloseUnclosePathAction);
    ASSERT_TRUE(ring->closed());
    editPath(ring, [&](Dialog* dialog) {
        EXPECT_TRUE(dialog->model()->removeRows(0, 1));
        EXPECT_FALSE(dialog->model()->removeRows(0, 1)) << "a closed path keeps three";
        press(dialog, QDialogButtonBox::Cancel);
    });
}

// What is no finite number is refused; a segment of no length has no slope to show or to
// type; OK on two consecutive rows at one position says so and the dialog stays open.
TEST_F(SurfacePathDialogTest, RefusedValuesAndRepeatedPositions)
{
    GeoEditSurfaceItem* surface = addSurface("Convex (Add)", {{20, 50}, {40, 50}, {60, 50}});
    select(surface);
    guimisc::UserDialogScript script;
    editPath(surface, [&](Dialog* dialog) {
        for (const char* bad : {"nan", "inf", "-inf", "abc", "1e999"}) {
            type(dialog, 1, Model::Elevation, QString::fromLatin1(bad));
            type(dialog, 1, Model::X, QString::fromLatin1(bad));
            type(dialog, 2, Model::Slope, QString::fromLatin1(bad));
        }
        // A plan coordinate beyond any plane coordinate system, too.
        for (const char* far : {"1e10", "-1e10", "1e308"}) {
            type(dialog, 1, Model::X, QString::fromLatin1(far));
            type(dialog, 1, Model::Y, QString::fromLatin1(far));
        }
        EXPECT_EQ(cell(dialog, 1, Model::X), 40.0);
        EXPECT_EQ(cell(dialog, 1, Model::Y), 50.0);
        EXPECT_NEAR(cell(dialog, 1, Model::Elevation), 0.01 * 40 + 0.02 * 50, 1e-12);
        EXPECT_NEAR(cell(dialog, 2, Model::Elevation), 0.01 * 60 + 0.02 * 50, 1e-12);

        type(dialog, 2, Model::X, QStringLiteral("40"));
        EXPECT_FALSE(dialog->model()->index(2, Model::Slope).data().isValid()) << "no length, no slope";
        EXPECT_EQ(cell(dialog, 2, Model::Length), 0.0);
        EXPECT_FALSE(dialog->model()->setData(dialog->model()->index(2, Model::Slope), 0.2));
        press(dialog, QDialogButtonBox::Ok);
        EXPECT_TRUE(dialog->isVisible());
        type(dialog, 2, Model::X, QStringLiteral("70"));
        press(dialog, QDialogButtonBox::Ok);
    });
    ASSERT_EQ(script.messageBoxes().size(), 1u);
    EXPECT_EQ(script.messageBoxes()[0].kind, guimisc::UserDialogs::Kind::Critical);
    EXPECT_EQ(script.messageBoxes()[0].title, "Error");
    EXPECT_EQ(script.messageBoxes()[0].text, "Cannot add the same position more than once.");
    EXPECT_EQ(surface->path()[2].x(), 70.0);
}

// Opening a cell's editor and leaving it unchanged writes nothing: the finer precision of
// the cell stays, and with "Edit all columns" on the value is not copied into every row.
TEST_F(SurfacePathDialogTest, AnEditorLeftUnchangedWritesNothing)
{
    GeoEditSurfaceItem* surface = addSurface("Convex (Add)", {{20, 50}, {40, 50}, {60, 50}});
    SurfaceController* c = select(surface);
    editPath(surface, [&](Dialog* dialog) {
        type(dialog, 1, Model::X, QStringLiteral("41.123456789"));
        dialog->editAllColumnsCheckBox()->setChecked(true);
        const QModelIndex x1 = dialog->model()->index(1, Model::X);
        dialog->tableView()->setCurrentIndex(x1);
        dialog->tableView()->edit(x1);
        auto editor = dialog->tableView()->findChild<QDoubleSpinBox*>();
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->decimals(), 5);
        QTest::keyClick(editor, Qt::Key_Return);
        // The delegate commits queued.
        QCoreApplication::processEvents();
        EXPECT_EQ(c->pendingPath()[0].x(), 20.0);
        EXPECT_EQ(c->pendingPath()[1].x(), 41.123456789);
        EXPECT_EQ(c->pendingPath()[2].x(), 60.0);
        press(dialog, QDialogButtonBox::Cancel);
    });
}

// One row changed: its row and the next, every column (the next row's slope and length
// follow); every row changed: the whole table; rows inserted or removed: the row after.
TEST_F(SurfacePathDialogTest, ChangesAnnounceEveryCellWhoseValueMayHaveChanged)
{
    GeoEditSurfaceItem* surface = addSurface("Convex (Add)", {{20, 50}, {40, 50}, {60, 50}, {80, 50}});
    select(surface);
    editPath(surface, [&](Dialog* dialog) {
        Model* model = dialog->model();
        QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
        const auto last = [&] {
            const QList<QVariant> args = changed.takeLast();
            changed.clear();
            return std::make_pair(args[0].toModelIndex(), args[1].toModelIndex());
        };
        type(dialog, 1, Model::Elevation, QStringLiteral("3"));
        EXPECT_EQ(last(), std::make_pair(model->index(1, 0), model->index(2, Model::Length)));
        type(dialog, 3, Model::X, QStringLiteral("85"));
        EXPECT_EQ(last(), std::make_pair(model->index(3, 0), model->index(3, Model::Length)));
        dialog->editAllColumnsCheckBox()->setChecked(true);
        type(dialog, 2, Model::Elevation, QStringLiteral("4"));
        EXPECT_EQ(last(), std::make_pair(model->index(0, 0), model->index(3, Model::Length)));
        ASSERT_TRUE(model->insertRows(1, 2));
        EXPECT_EQ(last(), std::make_pair(model->index(3, 0), model->index(3, Model::Length)));
        ASSERT_TRUE(model->removeRows(1, 2));
        EXPECT_EQ(last(), std::make_pair(model->index(1, 0), model->index(1, Model::Length)));
        press(dialog, QDialogButtonBox::Cancel);
    });
}

} // namespace
} // namespace varnel::test
