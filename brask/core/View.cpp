#include "brask/core/View.h"

#include "brask/core/Model.h"
#include "brask/core/ModelItemView.h"
#include "brask/core/ModelRootItem.h"

namespace mvc::core {

View::View(QWidget* parent) : QWidget(parent) {}

View::~View() = default;

void View::setModel(Model* model)
{
    m_model = model;
}

Model* View::model() const
{
    return m_model;
}

void View::updateView()
{
    if (m_model && m_model->rootItem()) {
        m_model->rootItem()->view()->discardPaintCache();
    }
    update();
}

} // namespace mvc::core
