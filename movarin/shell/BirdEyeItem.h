#pragma once

#include <vtkSmartPointer.h>

#include <memory>

class vtkPolyData;

namespace tin::core {
class Tin;
}

namespace varnel {

class BirdEyeItemView;

/// One TIN as the bird's-eye view shows it: its poly data (one point per vertex with the
/// elevation as scalar, one triangle per triangle), computed once at construction, and the
/// item view that draws it, made on first request.
///
/// The poly data is a copy: later edits of the TIN do not reach it. Owns its item view;
/// the poly data is reference-counted and shared with the view's mapper. Cost: construction
/// is linear in the triangles (norvak's conversion), about 64 bytes per triangle.
class BirdEyeItem {
public:
    explicit BirdEyeItem(const tin::core::Tin& tin);
    ~BirdEyeItem();
    BirdEyeItem(const BirdEyeItem&) = delete;
    BirdEyeItem& operator=(const BirdEyeItem&) = delete;

    vtkPolyData* polyData() const;
    /// The item view, made on the first call and owned by the item.
    BirdEyeItemView* itemView();

private:
    vtkSmartPointer<vtkPolyData> m_polyData;
    std::unique_ptr<BirdEyeItemView> m_itemView;
};

} // namespace varnel
