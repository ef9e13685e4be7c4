#pragma once

// Test support of the background images: a create-mode project with its window whose main
// view has a known size, pictures written to files, an item that gives the window an
// extent, and rasters read back through GDAL as the independent reader of stored pictures.

#include "pelkas/tests/PelkasTestSupport.h"
#include "shell/ProjectTestSupport.h"
#include "support/ScratchSettings.h"

#include "brask/core/ModelItem.h"

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QString>

#include <memory>
#include <string>
#include <vector>

namespace mvc::core {
class View;
}

namespace varnel {
class BackgroundImageGroupItem;
class BackgroundImageItem;
} // namespace varnel

namespace varnel::test {

/// An item without a row whose own box is given: what the points of a window would span.
class ExtentItem : public mvc::core::ModelItem {
public:
    ExtentItem(const QRectF& box, mvc::core::ModelItem* parent);
    QRectF myBoundingBox() const override;

private:
    QRectF m_box;
};

/// A raster as GDAL reads it: driver, size and each band's bytes line after line.
struct GdalRaster {
    std::string driver;
    int width = 0;
    int height = 0;
    std::vector<std::vector<unsigned char>> bands;
};

/// Reads every band of the file as bytes; throws std::runtime_error naming the file when
/// GDAL cannot open or read it.
GdalRaster readWithGdal(const std::string& path);

/// Saves `picture` as PNG under `name` in the scratch folder; returns the path.
std::string writePicture(const std::string& name, const QImage& picture);

/// A picture of `width` x `height` pixels of one colour.
QImage filledPicture(int width, int height, const QColor& colour);

/// The background colour of the main view where nothing is painted.
QRgb backgroundColour();

/// A create-mode project with its window; the window's main view is 400 x 300 pixels.
class ImagesTest : public ScratchSettingsTest {
protected:
    ImagesTest();

    /// Replaces the project by a new one with an empty window.
    void newWindow();
    CreateModeMainWindow* window() const { return m_window; }
    BackgroundImageGroupItem* group() const;
    mvc::core::View* view() const;
    /// Gives the window an item spanning `box`.
    void addExtent(const QRectF& box);
    /// `buildImageItem` of the file, attached at the front of the group as the import does.
    BackgroundImageItem* importImage(const std::string& path);
    /// The main view as painted now.
    QImage picture() const;

    static BackgroundImageGroupItem* groupOf(CreateModeMainWindow* window);

    ProjectSession& session() { return *m_session; }
    Project& project() { return *m_session->project(); }

private:
    std::unique_ptr<ProjectSession> m_session;
    CreateModeMainWindow* m_window = nullptr;
};

} // namespace varnel::test
