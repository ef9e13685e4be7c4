#include "movarin/surfaces/MoldsContainer.h"

#include "movarin/surfaces/MoldGroupItem.h"
#include "movarin/surfaces/MoldItem.h"

#include "brask/core/ModelItem.h"
#include "common/exception/RuntimeException.h"

#include <QDomElement>
#include <QXmlStreamWriter>

namespace varnel {

namespace {
const QString MOLDS_FOR[] = {QStringLiteral("MoldsForAdd"), QStringLiteral("MoldsForSub")};
} // namespace

MoldsContainer::MoldsContainer(mvc::proj::ProjectItem* parent)
    : mvc::proj::ProjectItem(parent),
      m_groups{new MoldGroupItem(mold::core::Mold::Add, this),
               new MoldGroupItem(mold::core::Mold::Subtract, this)}
{
    setSubPath("moldsContainer");
}

MoldsContainer::~MoldsContainer() = default;

MoldGroupItem* MoldsContainer::group(mold::core::Mold::EditType editType) const
{
    if (editType != mold::core::Mold::Add && editType != mold::core::Mold::Subtract) {
        throw common::exception::RuntimeException(mold::core::Mold::editTypeString(editType)
                                                  + " not handled.");
    }
    return m_groups[editType];
}

QMainWindow* MoldsContainer::mainWindow() const
{
    const auto owner = dynamic_cast<const mvc::core::ModelItem*>(parent());
    return owner ? owner->mainWindow() : nullptr;
}

std::vector<std::string> MoldsContainer::containedFiles() const
{
    std::vector<std::string> files = m_groups[1]->containedFiles();
    const std::vector<std::string> add = m_groups[0]->containedFiles();
    files.insert(files.end(), add.begin(), add.end());
    return files;
}

void MoldsContainer::doLoadFromProjectMainFile(const QDomElement& element)
{
    // Each group drops its molds (the defaults of a new project) before it reads its own.
    QDomElement child = element.firstChildElement();
    for (MoldGroupItem* group : m_groups) {
        group->loadFromProjectMainFile(child);
        if (!child.isNull()) {
            child = child.nextSiblingElement();
        }
    }
    for (MoldGroupItem* group : m_groups) {
        for (MoldItem* mold : group->molds()) {
            mold->setEditType(group->editType());
        }
    }
}

void MoldsContainer::doSaveToProjectMainFile(QXmlStreamWriter* writer)
{
    for (int i = 0; i < 2; ++i) {
        writer->writeStartElement(MOLDS_FOR[i]);
        m_groups[i]->saveToProjectMainFile(writer);
        writer->writeEndElement();
    }
}

} // namespace varnel
