#include "movarin/shell/BirdEyeItemView.h"

#include <vtkActor.h>
#include <vtkLookupTable.h>
#include <vtkNew.h>
#include <vtkPolyData.h>
#include <vtkPolyDataMapper.h>

namespace varnel {

BirdEyeItemView::BirdEyeItemView(vtkPolyData* polyData)
    : m_mapper(vtkSmartPointer<vtkPolyDataMapper>::New()), m_actor(vtkSmartPointer<vtkActor>::New())
{
    m_mapper->SetInputData(polyData);
    // Blue low, red high, over the TIN's own heights: the mapper's own range (0 to 1) would
    // paint every terrain above one metre in one colour.
    vtkNew<vtkLookupTable> colours;
    colours->SetHueRange(2.0 / 3.0, 0.0);
    m_mapper->SetLookupTable(colours);
    if (polyData != nullptr && polyData->GetNumberOfPoints() > 0) {
        m_mapper->SetScalarRange(polyData->GetScalarRange());
    }
    m_actor->SetMapper(m_mapper);
}

BirdEyeItemView::~BirdEyeItemView() = default;

vtkPolyDataMapper* BirdEyeItemView::mapper() const
{
    return m_mapper;
}

vtkActor* BirdEyeItemView::actor() const
{
    return m_actor;
}

} // namespace varnel
