#include "brask/util/AutoFitter.h"

#include "brask/core/Model.h"
#include "brask/core/View.h"

namespace mvc::util {

namespace {

bool isEmpty(const core::Model* model)
{
    const QRectF box = model->boundingBox();
    return box.width() == 0.0 && box.height() == 0.0;
}

} // namespace

AutoFitter::AutoFitter(core::Model* model) : m_model(model), m_wasEmpty(model && isEmpty(model))
{
}

AutoFitter::~AutoFitter()
{
    if (m_wasEmpty && m_model) {
        if (core::View* view = m_model->view()) {
            view->fit();
        }
    }
}

} // namespace mvc::util
