// The restorers put back what they found, also when nested.
#include "guimisc/restorer/CursorChanger.h"
#include "guimisc/restorer/QPainterFontChanger.h"
#include "guimisc/restorer/QPainterPenBrushChanger.h"
#include "guimisc/restorer/QPainterRotateChanger.h"
#include "guimisc/restorer/QPainterTranslateChanger.h"
#include "guimisc/restorer/WaitCursor.h"

#include <QApplication>

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

using namespace guimisc::restorer;

TEST(Restorer, PenBrushAndFontComeBackInNestedOrder)
{
    QImage image(16, 16, QImage::Format_ARGB32);
    QPainter painter(&image);
    const QPen pen0(Qt::black, 1);
    const QBrush brush0(Qt::NoBrush);
    QFont font0 = painter.font();
    font0.setPointSize(9);
    painter.setPen(pen0);
    painter.setBrush(brush0);
    painter.setFont(font0);
    {
        const QPen pen1(Qt::red, 3, Qt::DashLine);
        const QBrush brush1(Qt::blue, Qt::Dense4Pattern);
        QPainterPenBrushChanger outer(&painter, pen1, brush1);
        QPainterFontChanger outerFont(&painter, 18);
        {
            QPainterPenBrushChanger inner(&painter, QPen(Qt::green), QBrush(Qt::yellow));
            QPainterFontChanger innerFont(&painter, 30);
            EXPECT_EQ(painter.pen().color(), QColor(Qt::green));
            {
                // A size of 0 or less (a missing setting) leaves the font alone.
                QPainterFontChanger none(&painter, 0);
                QPainterFontChanger negative(&painter, -4);
                EXPECT_EQ(painter.font().pointSize(), 30);
            }
            EXPECT_EQ(painter.font().pointSize(), 30);
        }
        EXPECT_EQ(painter.pen(), pen1);
        EXPECT_EQ(painter.brush(), brush1);
        EXPECT_EQ(painter.font().pointSize(), 18);
    }
    EXPECT_EQ(painter.pen(), pen0);
    EXPECT_EQ(painter.brush(), brush0);
    EXPECT_EQ(painter.font(), font0);
}

TEST(Restorer, RotationAndTranslationComeBackInNestedOrder)
{
    QImage image(16, 16, QImage::Format_ARGB32);
    QPainter painter(&image);
    painter.scale(2.0, -1.0);
    const QTransform start = painter.worldTransform();
    {
        QPainterTranslateChanger outer(&painter, 10.0, 5.0);
        const QTransform moved = painter.worldTransform();
        EXPECT_EQ(moved.map(QPointF(0, 0)), start.map(QPointF(10, 5)));
        {
            QPainterRotateChanger turn(&painter, 90.0);
            // A quarter turn takes the x axis onto the y axis, then the outer moves apply.
            const QPointF p = painter.worldTransform().map(QPointF(1, 0));
            const QPointF q = moved.map(QPointF(0, 1));
            EXPECT_NEAR(p.x(), q.x(), 1e-12);
            EXPECT_NEAR(p.y(), q.y(), 1e-12);
            QPainterTranslateChanger inner(&painter, -3.0, 4.0);
            EXPECT_NE(painter.worldTransform(), moved);
        }
        EXPECT_EQ(painter.worldTransform(), moved);
    }
    EXPECT_EQ(painter.worldTransform(), start);
}

TEST(Restorer, CursorComesBackOrIsUnsetAgain)
{
    QWidget parent;
    parent.setCursor(Qt::CrossCursor);
    auto child = new QWidget(&parent);
    ASSERT_FALSE(child->testAttribute(Qt::WA_SetCursor));
    {
        CursorChanger outer(child, QCursor(Qt::WaitCursor));
        {
            CursorChanger inner(child, QCursor(Qt::SizeAllCursor));
            EXPECT_EQ(child->cursor().shape(), Qt::SizeAllCursor);
        }
        EXPECT_EQ(child->cursor().shape(), Qt::WaitCursor);
    }
    // The child had no cursor of its own: it shows its parent's again.
    EXPECT_FALSE(child->testAttribute(Qt::WA_SetCursor));
    EXPECT_EQ(child->cursor().shape(), Qt::CrossCursor);

    // A widget that goes first is not touched afterwards.
    auto doomed = std::make_unique<QWidget>();
    CursorChanger late(doomed.get(), QCursor(Qt::WaitCursor));
    doomed.reset();
}

TEST(Restorer, WaitCursorIsTheApplicationsAndNestsThroughAnException)
{
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    try {
        WaitCursor outer;
        {
            WaitCursor inner;
            ASSERT_NE(QApplication::overrideCursor(), nullptr);
            EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        }
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        throw std::runtime_error("the operation failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
