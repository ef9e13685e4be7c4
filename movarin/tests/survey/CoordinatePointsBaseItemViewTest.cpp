// Painting of point-set items, read back from the main view's picture at `View::conv` of
// known points, and the colour dialog with its undoable setting.
#include "PointSetTestSupport.h"

#include "movarin/survey/CoordinatePointsBaseItemPropertyDialog.h"

#include "support/ModalAnswerer.h"
#include "support/ScratchSettings.h"

#include <guimisc/UserDialogScript.h>
#include <guimisc/widget/ColorEditWidget.h>

#include <QDialogButtonBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace varnel::test {
namespace {

class CoordinatePointsBaseItemViewTest : public ScratchSettingsTest {
protected:
    void SetUp() override { ScratchSettings::writeStartupDefaults(); }

    static QRgb at(const QImage& image, const QPoint& p) { return image.pixel(p) & 0xffffff; }
    static QRgb rgb(const QColor& colour) { return colour.rgb() & 0xffffff; }
};

TEST_F(CoordinatePointsBaseItemViewTest, MarkersTakeTheSettingsColourOrTheirElevationsColour)
{
    PointScene scene;
    TestPointsItem* item =
        scene.addItem({{0.0, 0.0, 10.0}, {1.0, 1.0, 10.0}, {-1.0, 1.0, 55.0}, {1.0, -1.0, -80.0}});
    const QRgb background = at(scene.grab(), QPoint(20, 20));

    item->view()->setViewSetting(CoordinatePointsBaseItemViewSetting(Qt::magenta, 2, false));
    QImage picture = scene.grab();
    for (const auto& p : item->pointSet()->allPoints()) {
        const QPoint c = scene.pixel(p->x(), p->y());
        EXPECT_EQ(at(picture, c), rgb(Qt::magenta)) << p->x() << " " << p->y();
        EXPECT_EQ(at(picture, c + QPoint(5, 0)), background);
    }

    item->view()->setViewSetting(CoordinatePointsBaseItemViewSetting(Qt::magenta, 2, true));
    picture = scene.grab();
    const auto* colours = scene.project().elevationColorMapper();
    for (const auto& p : item->pointSet()->allPoints()) {
        EXPECT_EQ(at(picture, scene.pixel(p->x(), p->y())), rgb(colours->color(p->elevation())));
    }
    // Equal elevations, equal colours; different ones differ on this scale.
    EXPECT_EQ(at(picture, scene.pixel(0.0, 0.0)), at(picture, scene.pixel(1.0, 1.0)));
    EXPECT_NE(at(picture, scene.pixel(0.0, 0.0)), at(picture, scene.pixel(-1.0, 1.0)));
    EXPECT_NE(at(picture, scene.pixel(-1.0, 1.0)), at(picture, scene.pixel(1.0, -1.0)));
}

TEST_F(CoordinatePointsBaseItemViewTest, RepaintsReuseTheMarkersUntilAnEditOrTheFrameworkDropsThem)
{
    PointScene scene;
    TestPointsItem* item = scene.addItem({{0.0, 0.0, 10.0}, {1.0, 1.0, 55.0}});
    const auto* colours = scene.project().elevationColorMapper();
    const auto points = item->pointSet()->allPoints();
    // The view takes its final size and placement first, so that the pixel stays put.
    scene.grab();
    scene.view()->updateView();
    const QPoint c = scene.pixel(points[0]->x(), points[0]->y());
    EXPECT_EQ(at(scene.grab(), c), rgb(colours->color(points[0]->elevation())));

    // An elevation changed behind the commands' back is not seen by a plain repaint: the
    // layer is reused. The framework's discard (View::updateView) makes it show.
    const double before = points[0]->elevation();
    points[0]->setElevation(-80.0);
    EXPECT_EQ(at(scene.grab(), c), rgb(colours->color(before)));
    scene.view()->updateView();
    EXPECT_EQ(at(scene.grab(), c), rgb(colours->color(-80.0)));

    // An undoable edit shows at once, and so does its undo.
    item->controller()->editPointsElevation({points[0]}, 55.0);
    EXPECT_EQ(at(scene.grab(), c), rgb(colours->color(55.0)));
    scene.undoStack()->undo();
    EXPECT_EQ(at(scene.grab(), c), rgb(colours->color(-80.0)));
    // A selection is ringed over the kept markers and goes again with it.
    scene.select(item);
    item->controller()->selection().insert(points[0]);
    EXPECT_EQ(at(scene.grab(), c + QPoint(0, 3)), rgb(Qt::black));
    item->controller()->clearSelection();
    EXPECT_NE(at(scene.grab(), c + QPoint(0, 3)), rgb(Qt::black));
}

TEST_F(CoordinatePointsBaseItemViewTest, AfterADiscardTheKeptMarkersStandOnlyForTheSamePointsInTheSameOrder)
{
    // Two objects at one position: the one later in the set's order is drawn on top.
    PointScene scene;
    TestPointsItem* item =
        scene.addItem({{0.0, 0.0, 10.0}, {0.0, 0.0, 55.0}, {1.5, 1.5, -80.0}, {-1.5, -1.5, -80.0}});
    const auto* colours = scene.project().elevationColorMapper();
    scene.grab();
    scene.view()->updateView();
    const QImage before = scene.grab();
    const QPoint c = scene.pixel(0.0, 0.0);
    const auto first = item->pointSet()->allPoints();
    ASSERT_EQ(at(before, c), rgb(colours->color(first[1]->elevation())));

    // A discard with nothing changed: the same picture.
    scene.view()->updateView();
    EXPECT_EQ(scene.grab(), before);

    // The lower one taken out and put back, with no paint between: the same count, extent
    // and colours, but now it comes last and is drawn on top.
    const std::shared_ptr<tin::core::Point> lower = first[0];
    item->controller()->removePoints({lower});
    item->controller()->addPoints({lower}, item);
    ASSERT_EQ(item->pointSet()->allPoints().back(), lower);
    EXPECT_EQ(at(scene.grab(), c), rgb(colours->color(lower->elevation())));
    // Undone: whichever of the two is later in the set's order now is on top.
    scene.undoStack()->undo();
    scene.undoStack()->undo();
    std::shared_ptr<tin::core::Point> top;
    for (const auto& p : item->pointSet()->allPoints()) {
        if (p->x() == 0.0 && p->y() == 0.0) {
            top = p;
        }
    }
    ASSERT_TRUE(top);
    EXPECT_EQ(at(scene.grab(), c), rgb(colours->color(top->elevation())));
}

TEST_F(CoordinatePointsBaseItemViewTest, SelectedPointsOfTheSelectedItemAreRinged)
{
    PointScene scene;
    TestPointsItem* item = scene.addItem({{0.0, 0.0, 1.0}, {1.0, 0.0, 60.0}});
    const auto* colours = scene.project().elevationColorMapper();
    const QRgb background = at(scene.grab(), QPoint(20, 20));
    CoordinatePointsBaseItemController* controller = item->controller();
    controller->selectAllPoints();
    controller->selection().erase(item->pointSet()->findPointsAt(tin::core::Point2D(1.0, 0.0))[0]);

    // Not the selected item: no rings.
    QImage picture = scene.grab();
    EXPECT_EQ(at(picture, scene.pixel(0.0, 0.0) + QPoint(3, 0)), background);

    scene.select(item);
    ASSERT_TRUE(controller->isSelected());
    picture = scene.grab();
    const QPoint c = scene.pixel(0.0, 0.0);
    // A pen of width 4 on the circle of radius 3 covers radii 1 to 5.
    for (const QPoint& d : {QPoint(3, 0), QPoint(-3, 0), QPoint(0, 3), QPoint(0, -3),
                            QPoint(2, 0), QPoint(0, 4), QPoint(-2, -2)}) {
        EXPECT_EQ(at(picture, c + d), qRgb(0, 0, 0) & 0xffffff) << d.x() << "," << d.y();
    }
    for (const QPoint& d : {QPoint(7, 0), QPoint(0, -7), QPoint(5, 5)}) {
        EXPECT_EQ(at(picture, c + d), background) << d.x() << "," << d.y();
    }
    // The ring is not filled (not even with another marker's colour): the point keeps its
    // own marker inside.
    EXPECT_EQ(at(picture, c), rgb(colours->color(1.0)));
    // The unselected point has no ring.
    const QPoint other = scene.pixel(1.0, 0.0);
    EXPECT_EQ(at(picture, other), rgb(colours->color(60.0)));
    EXPECT_EQ(at(picture, other + QPoint(3, 0)), background);
}

/// The picture the painter itself gives for the same markers, drawn independently.
QImage paintedByQPainter(const QSize& size, const QColor& background,
                         const std::vector<QPointF>& centres, const QColor& colour, int radius,
                         const std::vector<QPointF>& rings)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    painter.setPen(QPen(colour));
    painter.setBrush(QBrush(colour));
    for (const QPointF& c : centres) {
        painter.drawEllipse(c, radius, radius);
    }
    QPen ring(Qt::black);
    ring.setWidth(radius + 2);
    painter.setPen(ring);
    painter.setBrush(Qt::NoBrush);
    for (const QPointF& c : rings) {
        painter.drawEllipse(c, radius + 1, radius + 1);
    }
    return image;
}

TEST_F(CoordinatePointsBaseItemViewTest, MarkersAreWhatThePainterDrawsAtQuarterPixels)
{
    PointScene scene;
    // Widget positions on whole, half and quarter pixels; one marker cut by the border.
    TestPointsItem* item = scene.addItem({{0.0, 0.0, 0.0}, {0.505, 0.2, 0.0}, {-0.8, 1.005, 0.0},
                                          {1.0, -0.6, 0.0}, {-1.99, -1.0, 0.0}});
    item->view()->setViewSetting(CoordinatePointsBaseItemViewSetting(QColor(40, 160, 90), 4, false));
    CoordinatePointsBaseItemController* controller = item->controller();
    controller->selection().insert(item->pointSet()->findPointsAt(tin::core::Point2D(0.505, 0.2))[0]);
    controller->selection().insert(item->pointSet()->findPointsAt(tin::core::Point2D(-1.99, -1.0))[0]);
    scene.select(item);

    const QImage picture = scene.grab();
    std::vector<QPointF> centres;
    std::vector<QPointF> rings;
    for (const auto& p : item->pointSet()->allPoints()) {
        centres.push_back(scene.view()->conv(QPointF(p->x(), p->y())));
        if (controller->selection().count(p)) {
            rings.push_back(centres.back());
        }
    }
    const QImage oracle = paintedByQPainter(picture.size(), picture.pixelColor(20, 20), centres,
                                            QColor(40, 160, 90), 4, rings);
    // The scale bar lies in the bottom-right corner; compare above it.
    int differing = 0;
    for (int y = 0; y < 150; ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            differing += picture.pixel(x, y) != oracle.pixel(x, y);
        }
    }
    EXPECT_EQ(differing, 0);
}

TEST_F(CoordinatePointsBaseItemViewTest, AViewOfPartOfAWideSetShowsEveryMarkerInIt)
{
    PointScene scene;
    // 41 x 41 points 0.25 apart over (-5.1, -5.1) to (4.9, 4.9); the view shows 4 x 4 of
    // them (the spatial index is asked) and then 8 x 8 (every point is walked). No marker
    // reaches the background pixel (1, 1).
    auto set = new tin::core::PointSet();
    for (int j = 0; j <= 40; ++j) {
        for (int i = 0; i <= 40; ++i) {
            set->addPoint(std::make_shared<tin::core::Point>(-5.1 + 0.25 * i, -5.1 + 0.25 * j, 0.0));
        }
    }
    TestPointsItem* item = scene.addItem(set);
    item->view()->setViewSetting(CoordinatePointsBaseItemViewSetting(QColor(40, 160, 90), 2, false));
    for (const QRectF& shown : {QRectF(-2.0, -2.0, 4.0, 4.0), QRectF(-4.0, -4.0, 8.0, 8.0)}) {
        SCOPED_TRACE(shown.width());
        scene.view()->fit(shown);
        const QImage picture = scene.grab();
        // Markers are stamped at the quarter pixel nearest to their point.
        std::vector<QPointF> centres;
        for (const auto& p : set->allPoints()) {
            const QPointF c = scene.view()->conv(QPointF(p->x(), p->y()));
            centres.emplace_back(std::round(4.0 * c.x()) / 4.0, std::round(4.0 * c.y()) / 4.0);
        }
        const QImage oracle = paintedByQPainter(picture.size(), picture.pixelColor(1, 1), centres,
                                                QColor(40, 160, 90), 2, {});
        int differing = 0;
        for (int y = 0; y < 150; ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                differing += picture.pixel(x, y) != oracle.pixel(x, y);
            }
        }
        EXPECT_EQ(differing, 0);
    }
}

TEST_F(CoordinatePointsBaseItemViewTest, ManyOverlappingMarkersAndRingsAreWhatThePainterDrawsInOrder)
{
    // Enough points for the markers to be stamped in bands on several threads: random widget
    // positions on quarter pixels over the view and a little beyond, coloured by elevation,
    // each pixel covered by several markers, every ninth point ringed. The painter draws the
    // same markers one by one, in the set's order.
    PointScene scene;
    const QImage empty = scene.grab();
    std::mt19937 random(11);
    std::uniform_int_distribution<int> quarter(-40, 840);
    std::uniform_real_distribution<double> elevation(-100.0, 100.0);
    auto set = new tin::core::PointSet();
    for (int k = 0; k < 6000; ++k) {
        // Widget (100 + 50 x, 100 - 50 y).
        const double wx = quarter(random) / 4.0;
        const double wy = quarter(random) / 4.0;
        set->addPoint(std::make_shared<tin::core::Point>((wx - 100.0) / 50.0,
                                                         (100.0 - wy) / 50.0, elevation(random)));
    }
    TestPointsItem* item = scene.addItem(set);
    item->view()->setViewSetting(CoordinatePointsBaseItemViewSetting(Qt::cyan, 3, true));
    const auto* colours = scene.project().elevationColorMapper();
    CoordinatePointsBaseItemController* controller = item->controller();
    const auto points = set->allPoints();
    for (std::size_t k = 0; k < points.size(); k += 9) {
        controller->selection().insert(points[k]);
    }
    scene.select(item);

    const QImage picture = scene.grab();
    // Markers are stamped at the quarter pixel nearest to their point (the world positions
    // map back to their quarter pixels only up to rounding).
    const auto centreOf = [&scene](const std::shared_ptr<tin::core::Point>& p) {
        const QPointF c = scene.view()->conv(QPointF(p->x(), p->y()));
        return QPointF(std::round(4.0 * c.x()) / 4.0, std::round(4.0 * c.y()) / 4.0);
    };
    QImage oracle(picture.size(), QImage::Format_RGB32);
    oracle.fill(empty.pixel(1, 1));
    {
        QPainter painter(&oracle);
        for (const auto& p : points) {
            const QColor c = colours->color(p->elevation());
            painter.setPen(QPen(c));
            painter.setBrush(QBrush(c));
            painter.drawEllipse(centreOf(p), 3, 3);
        }
        QPen ring(Qt::black);
        ring.setWidth(5);
        painter.setPen(ring);
        painter.setBrush(Qt::NoBrush);
        for (const auto& p : controller->selection()) {
            painter.drawEllipse(centreOf(p), 4, 4);
        }
    }
    // Everything but what the view draws over its items (the scale bar).
    int compared = 0;
    int differing = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (empty.pixel(x, y) == empty.pixel(1, 1)) {
                ++compared;
                differing += picture.pixel(x, y) != oracle.pixel(x, y);
            }
        }
    }
    EXPECT_GT(compared, 30000);
    EXPECT_EQ(differing, 0);
}

TEST_F(CoordinatePointsBaseItemViewTest, PointsInALineAndPointsJustOutsideArePainted)
{
    PointScene scene;
    // An extent without width: two points on one vertical line.
    TestPointsItem* line = scene.addItem({{0.5, -1.0, 0.0}, {0.5, 1.0, 0.0}});
    line->view()->setViewSetting(CoordinatePointsBaseItemViewSetting(Qt::red, 2, false));
    // A point just beyond the left border still shows the right part of its marker.
    TestPointsItem* outside = scene.addItem({{-2.02, 0.0, 0.0}});
    outside->view()->setViewSetting(CoordinatePointsBaseItemViewSetting(Qt::blue, 3, false));
    const QImage picture = scene.grab();
    EXPECT_EQ(at(picture, scene.pixel(0.5, -1.0)), rgb(Qt::red));
    EXPECT_EQ(at(picture, scene.pixel(0.5, 1.0)), rgb(Qt::red));
    EXPECT_EQ(at(picture, QPoint(0, 100)), rgb(Qt::blue));
}

TEST_F(CoordinatePointsBaseItemViewTest, ColourDialogCancelKeepsAndOkPushesOneUndoableSetting)
{
    PointScene scene;
    TestPointsItem* item = scene.addItem({{0.0, 0.0, 0.0}});
    const CoordinatePointsBaseItemViewSetting opening(Qt::cyan, 2, true);
    ASSERT_EQ(item->view()->viewSetting(), opening);

    // Cancel after changing both the radio buttons and the colour.
    {
        guimisc::UserDialogScript script;
        script.answerColor(Qt::darkGreen);
        CoordinatePointsBaseItemPropertyDialog dialog(nullptr);
        dialog.setViewSetting(opening);
        EXPECT_EQ(dialog.windowTitle(), "Polygon Color Setting");
        auto custom = dialog.findChild<QRadioButton*>("arbitraryRadioButton");
        auto editor = dialog.findChild<guimisc::widget::ColorEditWidget*>("colorEditWidget");
        ASSERT_TRUE(custom && editor);
        EXPECT_TRUE(dialog.findChild<QRadioButton*>("byValueRadioButton")->isChecked());
        custom->click();
        editor->click();
        EXPECT_EQ(editor->color(), QColor(Qt::darkGreen));
        dialog.reject();
        EXPECT_EQ(dialog.viewSetting(), opening);
    }

    // OK through the controller: one undo entry that sets and restores the setting.
    guimisc::UserDialogScript script;
    script.answerColor(QColor(200, 10, 10));
    ModalAnswerer answerer([](QWidget* widget) {
        widget->findChild<QRadioButton*>("arbitraryRadioButton")->click();
        widget->findChild<guimisc::widget::ColorEditWidget*>("colorEditWidget")->click();
        widget->findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Ok)->click();
    });
    const int entries = scene.undoStack()->count();
    item->controller()->showPropertyDialog();
    EXPECT_TRUE(answerer.answered());
    EXPECT_EQ(answerer.answeredClassName(), "varnel::CoordinatePointsBaseItemPropertyDialog");
    const CoordinatePointsBaseItemViewSetting chosen(QColor(200, 10, 10), 2, false);
    EXPECT_EQ(item->view()->viewSetting(), chosen);
    EXPECT_EQ(scene.undoStack()->count(), entries + 1);
    EXPECT_TRUE(item->isModified());
    EXPECT_EQ(scene.grab().pixel(scene.pixel(0.0, 0.0)) & 0xffffff, qRgb(200, 10, 10) & 0xffffff);

    scene.undoStack()->undo();
    EXPECT_EQ(item->view()->viewSetting(), opening);
    EXPECT_FALSE(item->isModified());
    scene.undoStack()->redo();
    EXPECT_EQ(item->view()->viewSetting(), chosen);
}

} // namespace
} // namespace varnel::test
