#pragma once

#include "brask/core/ModelItem.h"

#include <QString>

namespace varnel {

class BackgroundImageItem;

/// The folder of a project window's background images ("Background images"), a fixed child
/// of the root item of either project kind. Its children are `BackgroundImageItem`s only,
/// in browser order; the first child is painted last and so lies on top. The image files of
/// the children lie in the work folder's sub-folder "backgroundImageGroup".
///
/// Project file. Save writes, for each child in child order, an element "BackgroundImage"
/// holding what the child writes, after naming the child's file "background<i>.png" by its
/// 1-based position i; so the files follow the order of the rows at every save. Load makes
/// one image item per child element of the group's element, in document order (tag names
/// are not checked), appends it and names its file by its position before it reads itself.
///
/// `buildImageItem` turns an image file into an item that the caller attaches (an undo
/// command, usually at the front). The group owns its children;
/// `BackgroundImageGroupItemController` drives it (import, delete all).
class BackgroundImageGroupItem : public mvc::core::ModelItem {
    Q_OBJECT
public:
    explicit BackgroundImageGroupItem(mvc::core::ModelItem* parent);
    ~BackgroundImageGroupItem() override;

    /// Reads the picture at `path` (a Unicode path; a path that is not ASCII-only is read
    /// from an ASCII-named copy in the work folder, with the world files beside it) and
    /// returns a new item for it, captioned with the file's name. The item hangs under this
    /// group by its Qt parent only: it is not among the children and its row is taken back
    /// out, so the caller attaches it (and owns it until then). A file without georeference
    /// is placed by the window's extent (see `BackgroundImageItem`). Throws
    /// `common::exception::RuntimeException` with the loader's text when the file cannot be
    /// read, and "Unsupported image format" when the raster is not a picture (a band layout
    /// the loader does not turn into one); no item is made then. Cost: one read of the file.
    BackgroundImageItem* buildImageItem(const QString& path);

    QString itemTypeName() const override;

protected:
    void doLoadFromProjectMainFile(const QDomElement& element) override;
    void doSaveToProjectMainFile(QXmlStreamWriter* writer) override;
    mvc::core::ModelItemController* buildController() const override;
};

} // namespace varnel
