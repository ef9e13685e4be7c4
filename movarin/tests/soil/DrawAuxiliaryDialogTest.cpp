// Auxiliary drawings as the user makes them: text typed in the "Draw lines and points"
// dialog, opened through its menu action, drawn over the main view. What is drawn is read
// from the painted view's pixels.
#include "SoilTestSupport.h"

#include "movarin/sections/DrawAuxiliaryDialog.h"
#include "movarin/shell/MainWindowActionManager.h"
#include "movarin/shell/MainWindowMiscDialogManager.h"

#include "support/ModalAnswerer.h"
#include "support/QtPrinters.h"

#include <guimisc/UserDialogScript.h>

#include <QAction>
#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

#include <gtest/gtest.h>

#include <vector>

namespace varnel::test {
namespace {

using Script = guimisc::UserDialogScript;

class DrawAuxiliaryTest : public EditModeWindowTest {
protected:
    void SetUp() override
    {
        EditModeWindowTest::SetUp();
        alignView();
    }

    /// Opens the dialog through its action, types `text` and presses `button`.
    DrawAuxiliaryDialog* typeAndPress(const QString& text, QDialogButtonBox::StandardButton button)
    {
        ModalAnswerer answerer([&](QWidget* modal) {
            modal->findChild<QPlainTextEdit*>()->setPlainText(text);
            QPushButton* b = modal->findChild<QDialogButtonBox*>()->button(button);
            QTest::mouseClick(b, Qt::LeftButton);
            if (modal->isVisible()) {
                static_cast<QDialog*>(modal)->reject();
            }
        });
        window().actionManager()->action(QStringLiteral("Draw lines and points"))->trigger();
        EXPECT_EQ(answerer.answeredClassName(), "varnel::DrawAuxiliaryDialog");
        return window().miscDialogManager()->drawAuxiliaryDialog();
    }

    /// Applies `text`; the warning box's text, or empty when none was shown.
    QString apply(const QString& text)
    {
        Script script;
        typeAndPress(text, QDialogButtonBox::Apply);
        EXPECT_LE(script.messageBoxes().size(), 1u);
        if (script.messageBoxes().empty()) {
            return QString();
        }
        EXPECT_EQ(script.records()[0].kind, guimisc::UserDialogs::Kind::Warning);
        EXPECT_EQ(script.records()[0].title, "Warning");
        return script.records()[0].text;
    }

    const std::vector<DrawAuxiliaryDialog::Record>& records()
    {
        return window().miscDialogManager()->drawAuxiliaryDialog()->records();
    }

    /// Whether a pixel of the colour is within 2 pixels of world point (x, y).
    static bool drawnNear(const QImage& image, const QPoint& at, QRgb colour)
    {
        for (int dx = -2; dx <= 2; ++dx) {
            for (int dy = -2; dy <= 2; ++dy) {
                if (image.pixel(at + QPoint(dx, dy)) == colour) {
                    return true;
                }
            }
        }
        return false;
    }
    bool drawn(double x, double y, QRgb colour = qRgb(255, 0, 255))
    {
        return drawnNear(viewImage(), pixel(x, y), colour);
    }
};

using Kind = DrawAuxiliaryDialog::Kind;

int kindOf(const DrawAuxiliaryDialog::Record& r) { return std::get<0>(r); }
QString colourOf(const DrawAuxiliaryDialog::Record& r) { return std::get<1>(r); }
std::vector<QPointF> pointsOf(const DrawAuxiliaryDialog::Record& r)
{
    std::vector<QPointF> points;
    for (const auto& p : std::get<2>(r)) {
        points.emplace_back(p.x(), p.y());
    }
    return points;
}

TEST_F(DrawAuxiliaryTest, EachBadLineIsNamedAndLeavesNoDrawing)
{
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"# type: circle\n1 1", "Invalid type: circle"},
        {"# type: invalid\n1 1", "Invalid type: invalid"},
        {"# colour: red\n1 1", "Invalid key: colour"},
        {"# Color: red\n1 1", "Invalid key: Color"},
        {"1 1\n2", "Invalid coordinates: 2"},
        {"1 1\n2,3", "Invalid coordinates: 2,3"},
        {"1 1\n x 3", "Invalid coordinates:  x 3"},
        {"1 1\n 2 3", "Invalid coordinates:  2 3"},
        {"nan 1", "Invalid coordinates: nan 1"},
        {"1 inf", "Invalid coordinates: 1 inf"},
        {"-inf 0", "Invalid coordinates: -inf 0"},
        {"1e10 1", "Invalid coordinates: 1e10 1"},
        {"0 0\n1 -1e10", "Invalid coordinates: 1 -1e10"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_EQ(apply("# color: #ff00ff\n5 5\n6 6\n"), QString());
        ASSERT_TRUE(drawn(5.5, 5.5));
        EXPECT_EQ(apply(c.text), c.message);
        EXPECT_TRUE(records().empty());
        EXPECT_FALSE(drawn(5.5, 5.5));
    }
    // OK still closes the dialog after the warning.
    Script script;
    QPointer<DrawAuxiliaryDialog> dialog = typeAndPress(QStringLiteral("1"), QDialogButtonBox::Ok);
    EXPECT_EQ(script.messageBoxes().size(), 1u);
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(DrawAuxiliaryTest, HeadersSetKindAndColourOfTheDrawingsThatFollow)
{
    ASSERT_EQ(apply("# a note without a colon\n"
                    "## # type: nothing of this counts\n"
                    "1 2 3\n"
                    "4 5\n"
                    "\n"
                    "   \n"
                    "#color: #ff00ff:#00ff00\n"
                    "# type: TRIANGLE\n"
                    "1 1\n2 1\n1 2\n"
                    "\n"
                    "7 7\n"
                    "#   type: Point\n"),
              QString());
    ASSERT_EQ(records().size(), 3u);
    EXPECT_EQ(kindOf(records()[0]), Kind::PolylineKind);
    EXPECT_EQ(colourOf(records()[0]), "#000000");
    EXPECT_EQ(pointsOf(records()[0]), (std::vector<QPointF>{{1, 2}, {4, 5}}));
    EXPECT_EQ(kindOf(records()[1]), Kind::TriangleKind);
    EXPECT_EQ(colourOf(records()[1]), "#ff00ff");
    // Kind and colour carry on; a key line ends the drawing before it and applies to it.
    EXPECT_EQ(kindOf(records()[2]), Kind::PointKind);
    EXPECT_EQ(colourOf(records()[2]), "#ff00ff");
    EXPECT_EQ(pointsOf(records()[2]), (std::vector<QPointF>{{7, 7}}));

    EXPECT_EQ(apply(""), QString());
    EXPECT_TRUE(records().empty());
    EXPECT_FALSE(drawn(1.5, 1.0));
}

TEST_F(DrawAuxiliaryTest, EdgesPairAndTrianglesCloseTheirPoints)
{
    const QImage empty = viewImage();
    // Edges: (1, 1)-(9, 1) and (1, 9)-(9, 9); nothing joins the pairs, and the odd last point
    // is a dot.
    ASSERT_EQ(apply("# color: #ff00ff\n# type: edge\n1 1\n9 1\n1 9\n9 9\n5 3\n"), QString());
    EXPECT_TRUE(drawn(5, 1));
    EXPECT_TRUE(drawn(5, 9));
    EXPECT_FALSE(drawn(5, 5)) << "no segment from (9, 1) to (1, 9)";
    EXPECT_TRUE(drawn(5, 3)) << "the last point's dot";
    EXPECT_FALSE(drawn(7, 6)) << "no segment from (9, 9) to (5, 3)";

    // Triangles close each triple; a polyline through the same points does not.
    ASSERT_EQ(apply("# color: #ff00ff\n# type: triangle\n1 1\n9 1\n1 9\n"), QString());
    EXPECT_TRUE(drawn(1, 5));
    EXPECT_TRUE(drawn(5, 5));
    ASSERT_EQ(apply("# color: #ff00ff\n1 1\n9 1\n1 9\n"), QString());
    EXPECT_TRUE(drawn(5, 5));
    EXPECT_FALSE(drawn(1, 5));
    ASSERT_EQ(apply("# color: #ff00ff\n# type: point\n1 1\n9 1\n"), QString());
    EXPECT_TRUE(drawn(1, 1));
    EXPECT_FALSE(drawn(5, 1)) << "points are not joined";

    // A colour Qt does not know draws black.
    ASSERT_EQ(apply("# color: notacolour\n3 3\n7 3\n"), QString());
    EXPECT_TRUE(drawn(5, 3, qRgb(0, 0, 0)));
    EXPECT_FALSE(drawnNear(empty, pixel(5, 3), qRgb(0, 0, 0)));

    // Cancel keeps what is drawn.
    typeAndPress(QStringLiteral("# color: #ff00ff\n5 5\n6 6\n"), QDialogButtonBox::Cancel);
    EXPECT_TRUE(drawn(5, 3, qRgb(0, 0, 0)));
    EXPECT_FALSE(drawn(5.5, 5.5));
}

TEST_F(DrawAuxiliaryTest, DrawingsGoWithTheDialogWhicheverOfItAndTheViewGoesFirst)
{
    // The dialog first: the view paints without the drawings.
    ASSERT_EQ(apply("# color: #ff00ff\n1 1\n9 9\n"), QString());
    ASSERT_TRUE(drawn(5, 5));
    delete window().miscDialogManager()->drawAuxiliaryDialog();
    EXPECT_FALSE(drawn(5, 5));

    // The project window closes, taking view and dialog with it in its own order.
    ASSERT_EQ(apply("# color: #ff00ff\n1 1\n9 9\n"), QString());
    QPointer<DrawAuxiliaryDialog> dialog = window().miscDialogManager()->drawAuxiliaryDialog();
    QPointer<mvc::core::View> mainView = view();
    Script script;
    ASSERT_TRUE(window().closeProject());
    EXPECT_TRUE(dialog.isNull());
    EXPECT_TRUE(mainView.isNull());

    // The view first.
    window().newEditProject();
    alignView();
    ASSERT_EQ(apply("# color: #ff00ff\n1 1\n9 9\n"), QString());
    dialog = window().miscDialogManager()->drawAuxiliaryDialog();
    dialog->setParent(nullptr);
    ASSERT_TRUE(window().closeProject());
    ASSERT_FALSE(dialog.isNull());
    delete dialog.data();
}

} // namespace
} // namespace varnel::test
