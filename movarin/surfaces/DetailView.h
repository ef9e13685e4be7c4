#pragma once

#include "brask/view/PrimitiveView.h"

namespace varnel {

class MoldItem;

/// The mold detail view: one mold shown enlarged, offset L across and height H up. The
/// painter helpers of the view (`MoldDetailViewHelperI`) convert with its `conv`. The view
/// borrows the mold item it shows (null: none); its own drawing comes with the mold editor.
class DetailView : public mvc::view::PrimitiveView {
    Q_OBJECT
public:
    explicit DetailView(QWidget* parent = nullptr);
    ~DetailView() override;

    MoldItem* moldItem() const;
    void setMoldItem(MoldItem* item);

private:
    MoldItem* m_moldItem = nullptr;
};

} // namespace varnel
