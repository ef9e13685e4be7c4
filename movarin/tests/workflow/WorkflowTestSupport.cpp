#include "WorkflowTestSupport.h"

#include "brask/core/View.h"
#include "movarin/shell/Project.h"
#include "movarin/shell/ProjectFile.h"
#include "pelkas/GdalImageLoader.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <unordered_set>

namespace varnel::test {

QPoint pixelOf(const mvc::core::View* view, const QPointF& at)
{
    return view->conv(at).toPoint();
}

int distinctColours(const QImage& picture)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    std::unordered_set<QRgb> colours;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        colours.insert(line, line + rgb.width());
    }
    return static_cast<int>(colours.size());
}

void WorkflowTest::SetUp()
{
    ScratchSettings::writeStartupDefaults();
    // As the program's main does before it makes its window.
    gdalimg::GdalImageLoader::init();
    ASSERT_TRUE(m_dir.isValid());
    m_window = std::make_unique<MainWindow>();
    m_window->move(0, 0);
    m_window->resize(1280, 800);
    m_window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
}

void WorkflowTest::TearDown()
{
    // Nothing is left modified, so closing asks nothing.
    if (m_window->project()) {
        m_window->project()->projectFile()->setModified(false);
    }
    m_window->closeProject();
    m_window.reset();
    EXPECT_EQ(m_script.pendingAnswers(), 0u);
}

namespace {

QImage grabAndKeep(QWidget* topLevel, const QString& name, const QRect& area)
{
    QApplication::processEvents();
    QTest::qWait(200);
    QScreen* screen = topLevel->windowHandle()->screen();
    const QRect part = area.isNull() ? QRect(QPoint(0, 0), topLevel->size()) : area;
    const QImage shot =
        screen->grabWindow(topLevel->winId(), part.x(), part.y(), part.width(), part.height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    const QString folder = QStringLiteral(MOVARIN_BINARY_DIR "/screenshots");
    EXPECT_TRUE(QDir().mkpath(folder));
    EXPECT_TRUE(shot.save(folder + QLatin1Char('/') + name + QStringLiteral(".png")))
        << name.toStdString();
    return shot;
}

} // namespace

QImage WorkflowTest::grabScreen(const QString& name, const QRect& area) const
{
    return grabAndKeep(m_window.get(), name, area);
}

QImage WorkflowTest::grabScreen(QWidget* topLevel, const QString& name) const
{
    return grabAndKeep(topLevel, name, QRect());
}

} // namespace varnel::test
