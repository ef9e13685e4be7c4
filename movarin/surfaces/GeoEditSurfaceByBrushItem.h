#pragma once

#include "movarin/surfaces/GeoEditSurfaceItemI.h"

namespace varnel {

/// The GeoEdit surface that a brush stroke leaves: nothing but the triangles it put into the
/// edited TIN and those it took out. It is put in and taken back by swaps only (never
/// merged: `modifiedRootTin` stays the base's), cannot be edited, can be renamed and
/// deleted, and is drawn as its added triangles with their outline.
///
/// Project file: the element holds "name"; the triangles go to the ".geb" archive
/// "geoedit<n>.geb" (see `GeoEditSurfaceArchive`), n its place in the stack from the front.
/// A read surface rebinds its added triangles on first use (see `GeoEditSurfaceItemI`).
class GeoEditSurfaceByBrushItem : public GeoEditSurfaceItemI {
    Q_OBJECT
public:
    /// Keeps copies of both TINs (sharing their triangles). The row is appended under
    /// `parent`'s row (see `mvc::core::ModelItem`).
    GeoEditSurfaceByBrushItem(const QString& name, const tin::core::Tin& addedTin,
                              const tin::core::Tin& removedTin, mvc::core::ModelItem* parent);
    /// An empty surface for loading: no name, no triangles until its element and archive
    /// are read.
    explicit GeoEditSurfaceByBrushItem(mvc::core::ModelItem* parent);
    ~GeoEditSurfaceByBrushItem() override;

    /// "geoedit%1.geb".
    QString filenamePattern() const override;

protected:
    void doLoadFromProjectMainFile(const QDomElement& element) override;
    void doSaveToProjectMainFile(QXmlStreamWriter* writer) override;
    void loadExternalData(const std::string& absoluteFilename) override;
    void saveExternalData(const std::string& absoluteFilename) override;
    mvc::core::ModelItemView* buildView() const override;
    mvc::core::ModelItemController* buildController() const override;
};

} // namespace varnel
