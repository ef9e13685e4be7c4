// Undo of any sequence is exact: a seeded random sequence of new mold surfaces, brush
// surfaces (one click and Return), edits of the newest surface (a vertex moved, added or deleted, the path closed
// or opened, the mold replaced), deletions, "Delete all", undo and redo, driven through the
// user's entry points. Oracles: the set of triangle objects of the edited TIN recorded for
// every index of the undo stack, the edge incidence of the edited TIN, and a counting seam
// in front of every merge.
#include "SurfaceEditTestSupport.h"

#include "movarin/surfaces/GeoEditSurfaceItemControllerAddPointSelectionHelper.h"

#include <QMessageBox>

#include <map>
#include <random>
#include <unordered_map>

namespace varnel::test {
namespace {

using Action = SurfaceController::Action;

/// Edges of `tin` held by no triangle but one or two: none in a proper TIN.
std::size_t badEdges(const tin::core::Tin& tin)
{
    std::map<std::pair<const tin::core::Point*, const tin::core::Point*>, int> incidence;
    for (const auto& t : tin.allTriangles()) {
        for (int v = 0; v < 3; ++v) {
            const tin::core::Point* a = t->point(v).get();
            const tin::core::Point* b = t->point(v + 1).get();
            ++incidence[{std::min(a, b), std::max(a, b)}];
        }
    }
    return std::count_if(incidence.begin(), incidence.end(), [](const auto& e) { return e.second > 2; });
}

class SurfaceEditUndoTest : public SurfaceEditTest {
protected:
    double uniform(double low, double high) { return std::uniform_real_distribution<double>(low, high)(m_random); }
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    /// A whole number of quarter metres, so that every position lands on a pixel.
    double quarter(double low, double high) { return std::round(uniform(low, high) * 4.0) / 4.0; }

    /// The extents of the surfaces on the stack, what they put in and took out.
    std::vector<QRectF> occupied() const
    {
        std::vector<QRectF> rects;
        for (GeoEditSurfaceItemI* surface : surfacesOf(*group())) {
            for (const tin::core::Tin* tin : {&surface->addedTin(), &surface->removedTin()}) {
                if (!tin->empty()) {
                    const tin::core::Rect r = tin->boundingRect();
                    rects.emplace_back(QPointF(r.xMin(), r.yMin()), QPointF(r.xMax(), r.yMax()));
                }
            }
        }
        return rects;
    }
    bool isFree(const QRectF& area) const
    {
        const auto rects = occupied();
        return std::none_of(rects.begin(), rects.end(), [&](const QRectF& r) { return r.intersects(area); });
    }

    /// A path of two or three vertices in free ground; empty when none was found.
    std::vector<QPointF> freePath()
    {
        for (int attempt = 0; attempt < 20; ++attempt) {
            std::vector<QPointF> path{{quarter(20, 80), quarter(25, 75)}};
            const int vertices = 2 + pick(2);
            double angle = uniform(0, 6.283);
            for (int i = 1; i < vertices; ++i) {
                angle += uniform(-0.6, 0.6);
                const double length = uniform(8, 14);
                path.emplace_back(std::round((path.back().x() + length * std::cos(angle)) * 4) / 4,
                                  std::round((path.back().y() + length * std::sin(angle)) * 4) / 4);
            }
            QRectF box;
            for (const QPointF& p : path) {
                box = box.isNull() ? QRectF(p, QSizeF(0, 0)) : box.united(QRectF(p, QSizeF(0, 0)));
            }
            const QRectF area = box.adjusted(-10, -10, 10, 10);
            if (QRectF(0, 0, 100, 100).contains(area) && area.top() > 13 && area.bottom() < 87 && isFree(area)) {
                return path;
            }
        }
        return {};
    }

    QString anyMold()
    {
        const QString names[] = {"Slope 1 (%1)", "Convex (%1)", "Slope 2(%1)", "Concave (%1)", "Level plane (%1)"};
        return names[pick(5)].arg(pick(2) == 0 ? "Add" : "Sub");
    }

    /// Clicks open ground in the corner of the view: the selection goes.
    void clickOpenGround()
    {
        mouse().move(QPoint(1, 1));
        mouse().click(QPoint(1, 1));
    }

    /// Edits a mold surface in one of five ways; false when the way drawn does not apply to
    /// its path.
    bool edit(GeoEditSurfaceItem* surface, std::string* what)
    {
        SurfaceController* c = select(surface);
        clickOpenGround();
        const std::vector<tin::core::Point> path = surface->path();
        const std::size_t n = path.size();
        const std::size_t i = pick(static_cast<int>(n));
        switch (pick(5)) {
        case 0: {
            *what = "move a vertex";
            double x = path[i].x() + quarter(-12, 12);
            double y = path[i].y() + quarter(-12, 12);
            // Now and then onto another surface: the newer one covers it, or the older one
            // would cut into it.
            const std::vector<GeoEditSurfaceItemI*> surfaces = surfacesOf(*group());
            GeoEditSurfaceItemI* other = surfaces[pick(static_cast<int>(surfaces.size()))];
            if (other != surface && pick(2) == 0) {
                const tin::core::Rect r = other->addedTin().boundingRect();
                x = std::round(2.0 * (r.xMin() + r.xMax()) + 4 * uniform(-2, 2)) / 4.0;
                y = std::round(2.0 * (r.yMin() + r.yMax()) + 4 * uniform(-2, 2)) / 4.0;
            }
            if ((x == path[i].x() && y == path[i].y()) || y < 13 || y > 87 || x < 3 || x > 97
                || std::any_of(path.begin(), path.end(), [&](const auto& p) { return p.x() == x && p.y() == y; })) {
                return false;
            }
            dragBy(path[i].x(), path[i].y(), x - path[i].x(), y - path[i].y());
            return true;
        }
        case 1: {
            *what = "add a vertex";
            const std::size_t j = std::min(i + 1, n - 1);
            const double x = std::round((path[i].x() + path[j].x()) * 2.0 + 4 * uniform(-2, 2)) / 4.0;
            const double y = std::round((path[i].y() + path[j].y()) * 2.0 + 4 * uniform(-2, 2)) / 4.0;
            if (std::any_of(path.begin(), path.end(), [&](const auto& p) { return p.x() == x && p.y() == y; })) {
                return false;
            }
            trigger(surface, Action::AddPointAction);
            mouse().move(px(x, y));
            mouse().click(px(x, y));
            if (isTool<SurfaceController::AddPointSelectionHelper>(surface)) {
                mouse().key(Qt::Key_Escape);
            }
            return true;
        }
        case 2:
            *what = "delete a vertex";
            if (n < (c->pendingClosed() ? 4u : 3u)) {
                return false;
            }
            clickVertex(path[i].x(), path[i].y());
            if (c->activeHelper()->selectedIndices().size() != 1) {
                return false;
            }
            trigger(surface, Action::DeletePointsAction);
            return true;
        case 3:
            *what = "close or open";
            if (n < 3) {
                return false;
            }
            trigger(surface, Action::CloseUnclosePathAction);
            return true;
        default:
            *what = "replace the mold";
            pickMold(anyMold());
            trigger(surface, Action::ReplaceMoldAction);
            return true;
        }
    }

    std::mt19937 m_random{1};
};

TEST_F(SurfaceEditUndoTest, AnyMixOfSurfacesEditsAndDeletionsUndoesExactly)
{
    const Identities start = identities(edited());
    std::vector<Identities> recorded{start};
    std::map<std::string, int> done;
    std::map<std::string, int> reasons;
    for (int step = 0; step < 200; ++step) {
        const int entries = stack().count();
        const int index = stack().index();
        const Identities before = identities(edited());
        const int merges = m_merges;
        const std::vector<GeoEditSurfaceItemI*> surfaces = surfacesOf(*group());
        // Mostly the newest surface; now and then an older one, which a newer one may cover.
        const int older = static_cast<int>(surfaces.size()) - 1;
        const std::size_t target = older > 0 && pick(4) == 0 ? 1 + pick(older) : 0;
        auto subject = target < surfaces.size() ? qobject_cast<GeoEditSurfaceItem*>(surfaces[target])
                                                : nullptr;
        std::string what;
        bool drawn = true;
        guimisc::UserDialogScript script;

        const int kind = pick(20);
        if (kind < 4) {
            what = "new mold surface";
            const std::vector<QPointF> path = freePath();
            drawn = !path.empty();
            if (drawn) {
                pickMold(anyMold());
                groupController()->createGeoEditSurface(onTin(path));
            }
        } else if (kind < 6) {
            what = "brush surface";
            const QPoint at = px(quarter(15, 85), quarter(18, 82));
            const QPointF centre = view()->rconv(at);
            drawn = isFree(QRectF(centre - QPointF(6, 6), QSizeF(12, 12)));
            if (drawn) {
                // One click of the brush and Return, as the user brushes.
                group()->model()->select(group());
                groupController()->addByBrushingAction()->trigger();
                mouse().move(at);
                mouse().press(at);
                mouse().move(at, Qt::LeftButton);
                mouse().release(at);
                mouse().key(Qt::Key_Return);
            }
        } else if (kind < 12) {
            drawn = subject && edit(subject, &what);
            what = (target == 0 ? "edit the newest: " : "edit an older one: ") + what;
        } else if (kind < 13) {
            what = "delete the newest";
            drawn = !surfaces.empty();
            if (drawn) {
                deleteThroughBrowser(surfaces.front(), script);
            }
        } else if (kind < 14) {
            what = "delete all";
            drawn = !surfaces.empty();
            if (drawn) {
                script.answer(QMessageBox::Yes);
                groupController()->deleteAllAction()->trigger();
            }
        } else if (kind < 17) {
            what = "undo";
            drawn = stack().canUndo();
            stack().undo();
        } else {
            what = "redo";
            drawn = stack().canRedo();
            stack().redo();
        }
        if (!drawn) {
            continue;
        }
        const std::string where = "step " + std::to_string(step) + ", " + what;

        if (what == "undo" || what == "redo") {
            ASSERT_EQ(stack().index(), index + (what == "undo" ? -1 : 1)) << where;
            EXPECT_EQ(m_merges, merges) << where << ": undo and redo never merge";
        } else if (stack().count() == entries && stack().index() == index) {
            ASSERT_FALSE(script.messageBoxes().empty()) << where << ": refused without a word";
            const QString text = script.messageBoxes().back().text;
            ++reasons[text.startsWith("Edited ") ? "cuts into a newer surface"
                      : text.contains(" is overlapped with ") ? "covered by a newer surface"
                                                             : text.toStdString()];
            EXPECT_EQ(identities(edited()), before) << where << ": refused, yet changed";
            continue;
        } else {
            ++done[what];
            ASSERT_EQ(stack().index(), index + 1) << where;
            ASSERT_EQ(stack().count(), index + 1) << where;
            recorded.resize(static_cast<std::size_t>(index) + 1);
            recorded.push_back(identities(edited()));
        }
        ASSERT_EQ(identities(edited()), recorded[stack().index()]) << where;
        ASSERT_EQ(badEdges(edited()), 0u) << where;
    }
    EXPECT_GE(done["new mold surface"], 5);
    EXPECT_GE(done["brush surface"], 3);
    int edits = 0;
    for (const auto& [what, count] : done) {
        edits += what.rfind("edit the newest", 0) == 0 ? count : 0;
    }
    EXPECT_GE(edits, 10);
    EXPECT_GE(reasons["covered by a newer surface"] + reasons["cuts into a newer surface"], 1);
    EXPECT_GE(reasons["Invalid Tin shape."], 1);

    const int merges = m_merges;
    for (int index = stack().index() - 1; index >= 0; --index) {
        stack().setIndex(index);
        ASSERT_EQ(identities(edited()), recorded[index]) << "undone to " << index;
    }
    EXPECT_EQ(identities(edited()), start);
    EXPECT_EQ(m_merges, merges);
}

} // namespace
} // namespace varnel::test
