#pragma once

#include <vtkSmartPointer.h>

class vtkActor;
class vtkPolyData;
class vtkPolyDataMapper;

namespace varnel {

/// How one TIN is drawn in the bird's-eye view: a poly data mapper fed with the TIN's
/// poly data and the actor that places it in the scene. The elevation scalars are coloured
/// from blue at the lowest point of the TIN to red at the highest, so the colours span the
/// relief.
///
/// The mapper and the actor are owned here (VTK reference counts); the mapper holds its own
/// reference to the poly data, which it shares with its `BirdEyeItem`.
/// Cost: nothing is drawn or copied here; VTK uploads the data at the next render.
class BirdEyeItemView {
public:
    explicit BirdEyeItemView(vtkPolyData* polyData);
    virtual ~BirdEyeItemView();
    BirdEyeItemView(const BirdEyeItemView&) = delete;
    BirdEyeItemView& operator=(const BirdEyeItemView&) = delete;

    vtkPolyDataMapper* mapper() const;
    vtkActor* actor() const;

private:
    vtkSmartPointer<vtkPolyDataMapper> m_mapper;
    vtkSmartPointer<vtkActor> m_actor;
};

} // namespace varnel
