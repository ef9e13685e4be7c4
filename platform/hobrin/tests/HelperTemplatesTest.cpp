// The view-helper and selection-helper templates instantiated over a stand-in view.
#include "guimisc/helper/SelectionHelperT.h"
#include "guimisc/helper/ViewHelperT.h"

#include <QKeyEvent>
#include <QPainter>
#include <gtest/gtest.h>

#include <memory>

namespace {

struct FakeView {
    int updates = 0;
    void updateView() { ++updates; }
};

class Marker : public guimisc::helper::ViewHelperT<FakeView> {
public:
    using ViewHelperT::ViewHelperT;
    void paintView(QPainter*, const QTransform&, const QRectF&) override { ++paints; }
    FakeView* theView() const { return view(); }
    int paints = 0;
};

class Mode : public guimisc::helper::SelectionHelperT<FakeView, Marker> {
public:
    Mode() = default;
    Mode(const Mode& other) : SelectionHelperT(other), clicks(other.clicks) {}
    guimisc::helper::SelectionHelper* mousePressEvent(QMouseEvent*, FakeView* view) override
    {
        ++clicks;
        if (clicks < 2) {
            return this;
        }
        finishSelection(view);
        return new Mode(*this);
    }
    void doFinishSelection(FakeView*) override { finished = true; }
    int clicks = 0;
    bool finished = false;
};

} // namespace

TEST(HelperTemplates, HooksKeepOrSwitchTheModeAndCopiesOwnNoHelpers)
{
    FakeView view;
    auto mode = std::make_unique<Mode>();
    mode->viewHelpers().push_back(std::make_unique<Marker>(&view));
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    EXPECT_EQ(mode->keyPressEvent(&key, &view), mode.get());
    EXPECT_EQ(mode->wheelEvent(nullptr, &view), mode.get());
    EXPECT_EQ(mode->mousePressEvent(&press, &view), mode.get());
    EXPECT_EQ(view.updates, 0);

    std::unique_ptr<guimisc::helper::SelectionHelper> next(mode->mousePressEvent(&press, &view));
    ASSERT_NE(next.get(), mode.get());
    EXPECT_TRUE(mode->finished);
    EXPECT_EQ(view.updates, 1); // finishSelection repaints the view after the hook
    auto nextMode = dynamic_cast<Mode*>(next.get());
    ASSERT_NE(nextMode, nullptr);
    EXPECT_EQ(nextMode->clicks, 2);
    EXPECT_TRUE(nextMode->viewHelpers().empty());
    EXPECT_EQ(static_cast<const Mode&>(*mode).viewHelpers().size(), 1u);
}
