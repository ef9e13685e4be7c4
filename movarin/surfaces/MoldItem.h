#pragma once

#include "brask/proj/ProjectItem.h"

#include <mold/core/Mold.h>

#include <QPointer>

#include <memory>

class QPoint;

namespace varnel {

class DetailView;
class MoldItemController;
class MoldItemView;

/// A project item holding one mold (the cross-section template of the GeoEdit surfaces),
/// by value. The mold detail view and the mold editor both show and edit the mold through
/// `mold()`; painters borrow the item and read its mold at every paint.
class MoldItem : public mvc::proj::ProjectItem {
    Q_OBJECT
public:
    explicit MoldItem(mvc::proj::ProjectItem* parent = nullptr);
    ~MoldItem() override;

    mold::core::Mold& mold();
    const mold::core::Mold& mold() const;

    /// The mold editor of the item, made on first call and owned by the item.
    MoldItemController* controller();
    /// The painter of the item on mold views, made on first call and owned by the item.
    MoldItemView* view();
    /// The detail view that shows the item now (it registers itself); watched, not owned:
    /// null once that view is gone.
    void setDetailView(DetailView* view);
    DetailView* detailView() const;
    /// Opens the editor's context menu at the global position `pos`.
    void showContextMenu(const QPoint& pos);

private:
    mold::core::Mold m_mold;
    std::unique_ptr<MoldItemController> m_controller;
    std::unique_ptr<MoldItemView> m_view;
    QPointer<DetailView> m_detailView;
};

} // namespace varnel
