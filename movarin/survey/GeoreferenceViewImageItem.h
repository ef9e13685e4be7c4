#pragma once

#include "movarin/survey/GcpTableRow.h"
#include "movarin/survey/GeoreferenceView.h"

#include "brask/proj/ProjectItem.h"

#include <memory>

class QPoint;

namespace gdalimg {
class GdalImage;
}

namespace varnel {

/// What the georeference pane shows: a background image item (its picture) and the GCP
/// table model, both borrowed, with a controller (built on first use, which also puts its
/// "Delete Points" action into its menu) and an item view (built on first use). The item
/// belongs to the pane and lives in no project; it owns its controller and view.
class GeoreferenceView::ImageItem : public mvc::proj::ProjectItem {
    Q_OBJECT
public:
    ImageItem(BackgroundImageItem* backgroundImageItem, GcpTableModel* model,
              GeoreferenceView* view);
    ~ImageItem() override;

    ImageItemController* controller();
    ImageItemView* itemView();
    GeoreferenceView* view() const { return m_view; }
    BackgroundImageItem* backgroundImageItem() const { return m_backgroundImageItem; }
    GcpTableModel* gcpTableModel() const { return m_model; }
    /// The pairs of the model.
    const GcpTable* gcpTable() const;
    /// The background item's picture with its placement.
    gdalimg::GdalImage* image() const;
    /// Shows the controller's menu at `globalPos` (screen pixels).
    void showRightClickMenu(const QPoint& globalPos);

private:
    std::unique_ptr<ImageItemController> m_controller;
    std::unique_ptr<ImageItemView> m_itemView;
    GeoreferenceView* m_view;
    BackgroundImageItem* m_backgroundImageItem;
    GcpTableModel* m_model;
};

} // namespace varnel
