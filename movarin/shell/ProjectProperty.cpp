#include "movarin/shell/ProjectProperty.h"

#include "mirvel/EllipseToPlaneProjectionPairBuilder.h"
#include "movarin/shell/MainWindow.h"
#include "movarin/shell/Project.h"
#include "movarin/shell/ProjectFile.h"
#include "proj/ProjectionPair.h"

#include <guimisc/StringSupport.h>

#include <QDomElement>
#include <QXmlStreamWriter>

namespace varnel {

namespace {
const QString CSR_ATTRIBUTE = QStringLiteral("CSR");
}

ProjectProperty::ProjectProperty(ProjectFile* parent) : mvc::proj::ProjectItem(parent) {}

ProjectProperty::~ProjectProperty() = default;

proj::ProjectionPair* ProjectProperty::projectionPair() const
{
    return m_projectionPair;
}

void ProjectProperty::setProjectionPair(proj::ProjectionPair* pair)
{
    m_projectionPair = pair;
    m_unknownName.clear();
}

QString ProjectProperty::projectionPairName() const
{
    if (m_projectionPair) {
        return QString::fromLatin1(m_projectionPair->name().c_str());
    }
    return m_unknownName;
}

const guiproj::EllipseToPlaneProjectionPairBuilder* ProjectProperty::projectionPairBuilder() const
{
    const auto owner = qobject_cast<const Project*>(project());
    const MainWindow* window = owner ? owner->mainWindow() : nullptr;
    return window ? window->projectionPairBuilder() : nullptr;
}

void ProjectProperty::doLoadFromProjectMainFile(const QDomElement& element)
{
    const QString name = element.attribute(CSR_ATTRIBUTE);
    if (name.isEmpty()) {
        return;
    }
    const guiproj::EllipseToPlaneProjectionPairBuilder* builder = projectionPairBuilder();
    m_projectionPair =
        builder ? builder->projectionPair(guimisc::StringSupport::toStr(name)) : nullptr;
    // A system the catalogue lacks stays as text, to be written back as it was.
    m_unknownName = m_projectionPair ? QString() : name;
}

void ProjectProperty::doSaveToProjectMainFile(QXmlStreamWriter* writer)
{
    const QString name = projectionPairName();
    if (!name.isEmpty()) {
        writer->writeAttribute(CSR_ATTRIBUTE, name);
    }
}

} // namespace varnel
