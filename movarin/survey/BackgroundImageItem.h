#pragma once

#include "brask/core/ModelItem.h"

#include <guimisc/xml/StringContainer.h>

#include <QPointF>
#include <QString>

#include <array>
#include <memory>
#include <string>

namespace gdalimg {
class GdalImage;
}

namespace varnel {

/// A background picture under the survey data: a row of the "Background images" group
/// (captioned with the source file's name, deletable and reorderable, checkable) that owns
/// the picture with its placement (`gdalimg::GdalImage`).
///
/// Geometry. With W x H pixels, scale s, angle a (degrees) and top-left corner P, the pixel
/// at column c and row r lies at P + c u + r v, where u = s R(a) (1, 0) and v = s R(a) (0, -1)
/// and R turns counter-clockwise: at angle 0 the rows run towards smaller y. The item's box
/// is the axis-parallel box of the four corners; a null picture's box is the point P.
///
/// Default placement. A new item whose picture carries no placement (`isSettingLoaded`
/// false) is placed by the extent of its window's model at construction, before it is
/// attached: an empty extent gives top-left (0, H), scale 1; otherwise the image hangs from
/// the extent's lower-left corner towards smaller y at angle 0, with the extent's width
/// over W as scale (the height over H when the extent has no width, as for points on one
/// north-south line); the scale is never below `gdalimg::GdalImageSetting::scaleMin`.
///
/// Project file. The element holds "filename" (the source file's name, informative only)
/// and the placement's attributes; the pixels go to the item's file "background<i>.png"
/// (PNG whatever the source was), written to a temporary name and put in place only when
/// complete. A picture that cannot be written throws `common::exception::RuntimeException`
/// naming the file, so the project's save fails instead of losing it. A null picture writes
/// no file (and removes a stale one of that name); a missing or unreadable file loads as a
/// null picture, silently, and keeps the placement read from the element.
///
/// Visibility (`isVisible`, `show`, `toggleVisibility`) is a flag of the item's view, false
/// on every new view and never saved; the georeferencing dialog uses it. The item owns its
/// picture; `BackgroundImageItemController` drives it.
class BackgroundImageItem : public mvc::core::ModelItem {
    Q_OBJECT
public:
    /// Takes ownership of `image` (not null) and places it by default when it carries no
    /// placement. The row is appended under `parent`'s row (see `ModelItem`).
    BackgroundImageItem(const QString& caption, gdalimg::GdalImage* image,
                        mvc::core::ModelItem* parent);
    /// An empty item for loading: no caption, no picture until its element is read.
    explicit BackgroundImageItem(mvc::core::ModelItem* parent);
    ~BackgroundImageItem() override;

    /// The picture with its placement; null only in an item made for loading before it
    /// read its element.
    gdalimg::GdalImage* image() const;
    /// The name of the file the picture came from (the "filename" attribute).
    QString filename() const;
    /// Names the item's file "background<index>.png".
    void setFilenameByIndex(int index);

    bool isVisible() const;
    /// Makes the picture visible and repaints the main view.
    void show();
    /// Hides a visible picture or shows a hidden one, and repaints the main view.
    void toggleVisibility();

    QString itemTypeName() const override;
    QRectF myBoundingBox() const override;

protected:
    void doLoadFromProjectMainFile(const QDomElement& element) override;
    void doSaveToProjectMainFile(QXmlStreamWriter* writer) override;
    void loadExternalData(const std::string& absoluteFilename) override;
    void saveExternalData(const std::string& absoluteFilename) override;
    mvc::core::ModelItemView* buildView() const override;
    mvc::core::ModelItemController* buildController() const override;

private:
    void placeByModelExtent();
    /// The world positions of the picture's corners: top-left, top-right, bottom-left,
    /// bottom-right (all P for a null picture).
    std::array<QPointF, 4> corners() const;

    guimisc::xml::StringContainer m_filename{QStringLiteral("filename")};
    std::unique_ptr<gdalimg::GdalImage> m_image;
};

} // namespace varnel
