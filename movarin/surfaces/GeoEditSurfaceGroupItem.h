#pragma once

#include "brask/core/ModelItem.h"

namespace varnel {

class GeoEditSurfaceGroupItemController;
class MoldsContainer;

/// The "GeoEdit Surfaces" folder of an edit-mode project (folder icon; the row's caption
/// is fixed and the row is neither deletable nor movable). Its files lie in the sub-folder
/// "geoEditSurfaceGroupItem"; the edit-mode root writes it as "GeoEditSurfaceGroup".
///
/// It owns the project's molds container for its whole life and writes it into its own
/// element as "MoldsContainer"; an element without one leaves the container as made (the
/// default molds). Its controller owns the Mold Browser dock of the project window. For now
/// it holds no surfaces.
class GeoEditSurfaceGroupItem : public mvc::core::ModelItem {
    Q_OBJECT
public:
    explicit GeoEditSurfaceGroupItem(mvc::core::ModelItem* parent);
    ~GeoEditSurfaceGroupItem() override;

    QString itemTypeName() const override;

    MoldsContainer* moldsContainer() const;
    /// The item's controller, built on first use.
    GeoEditSurfaceGroupItemController* groupController() const;

protected:
    mvc::core::ModelItemController* buildController() const override;
    void doLoadFromProjectMainFile(const QDomElement& element) override;
    void doSaveToProjectMainFile(QXmlStreamWriter* writer) override;

private:
    MoldsContainer* m_moldsContainer;
};

} // namespace varnel
