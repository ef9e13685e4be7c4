#include "brask/xml/ViewSettingContainer.h"

#include "brask/core/View.h"
#include "brask/util/TransformSupport.h"

#include <guimisc/xml/XmlSupport.h>

#include <QDomElement>
#include <QPointer>

#include <cmath>

namespace mvc::xml {

using guimisc::xml::XmlSupport;
using util::TransformSupport;

namespace {

const QString CENTER_X = QStringLiteral("centerX");
const QString CENTER_Y = QStringLiteral("centerY");
const QString SCALE = QStringLiteral("scale");
const QString ANGLE = QStringLiteral("angle");

// The attribute when it holds a finite number, else `fallback`.
double finiteAttribute(const QDomElement& element, const QString& name, double fallback)
{
    const double value = XmlSupport::getDoubleAttribute(element, name, fallback);
    return std::isfinite(value) ? value : fallback;
}

} // namespace

struct ViewSettingContainer::Impl {
    QPointer<core::View> view;
};

ViewSettingContainer::ViewSettingContainer(core::View* view) : m_impl(std::make_unique<Impl>())
{
    m_impl->view = view;
}

ViewSettingContainer::~ViewSettingContainer() = default;

void ViewSettingContainer::load(const QDomElement& element)
{
    core::View* view = m_impl->view;
    if (!view) {
        return;
    }
    view->setCenterPoint(
        QPointF(finiteAttribute(element, CENTER_X, 0.0), finiteAttribute(element, CENTER_Y, 0.0)));
    const double scale = XmlSupport::getDoubleAttribute(element, SCALE, 1.0);
    view->setScale(TransformSupport::isValidScale(scale) ? scale : 1.0);
    view->setAngleDegree(finiteAttribute(element, ANGLE, 0.0));
}

void ViewSettingContainer::save(QXmlStreamWriter* writer) const
{
    const core::View* view = m_impl->view;
    if (!view) {
        return;
    }
    XmlSupport::setDoubleAttribute(writer, CENTER_X, view->centerPoint().x());
    XmlSupport::setDoubleAttribute(writer, CENTER_Y, view->centerPoint().y());
    XmlSupport::setDoubleAttribute(writer, SCALE, view->scale());
    XmlSupport::setDoubleAttribute(writer, ANGLE, view->angleDegree());
}

} // namespace mvc::xml
