#include "movarin/surfaces/MoldGroupItem.h"

#include "movarin/surfaces/MoldGroupItemWidget.h"
#include "movarin/surfaces/MoldItem.h"
#include "movarin/surfaces/MoldsContainer.h"

#include <QDomElement>
#include <QXmlStreamWriter>

#include <algorithm>
#include <stdexcept>

namespace varnel {

MoldGroupItem::MoldGroupItem(mold::core::Mold::EditType editType, mvc::proj::ProjectItem* parent)
    : mvc::proj::ProjectItem(parent), m_editType(editType)
{
    setSubPath(mold::core::Mold::editTypeString(editType));
    addDefaultMolds();
}

MoldGroupItem::~MoldGroupItem()
{
    // The molds go with the group (Qt children): the browser lets go of them first.
    if (m_widget) {
        m_molds.clear();
        m_widget->rebuildIcons();
    }
}

mold::core::Mold::EditType MoldGroupItem::editType() const
{
    return m_editType;
}

const std::vector<MoldItem*>& MoldGroupItem::molds() const
{
    return m_molds;
}

void MoldGroupItem::insertAtFront(MoldItem* mold)
{
    insertAt(mold, 0);
}

void MoldGroupItem::insertAt(MoldItem* mold, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) > m_molds.size()) {
        throw std::out_of_range("MoldGroupItem::insertAt: index " + std::to_string(index)
                                + " outside the molds");
    }
    m_molds.insert(m_molds.begin() + index, mold);
    renumberFiles();
}

void MoldGroupItem::remove(MoldItem* mold)
{
    const auto found = std::find(m_molds.begin(), m_molds.end(), mold);
    if (found != m_molds.end()) {
        m_molds.erase(found);
        renumberFiles();
    }
}

void MoldGroupItem::clear()
{
    m_molds.clear();
}

MoldGroupItemWidget* MoldGroupItem::widget() const
{
    return m_widget;
}

void MoldGroupItem::setWidget(MoldGroupItemWidget* widget)
{
    m_widget = widget;
}

QMainWindow* MoldGroupItem::mainWindow() const
{
    const auto container = dynamic_cast<const MoldsContainer*>(parent());
    return container ? container->mainWindow() : nullptr;
}

std::vector<std::string> MoldGroupItem::containedFiles() const
{
    std::vector<std::string> files = mvc::proj::ProjectItem::containedFiles();
    for (const MoldItem* mold : m_molds) {
        const std::vector<std::string> moldFiles = mold->containedFiles();
        files.insert(files.end(), moldFiles.begin(), moldFiles.end());
    }
    return files;
}

void MoldGroupItem::doLoadFromProjectMainFile(const QDomElement& element)
{
    const std::vector<MoldItem*> old = m_molds;
    m_molds.clear();
    if (m_widget) {
        // Its icons and the preview must not outlive the molds they show.
        m_widget->rebuildIcons();
    }
    qDeleteAll(old);
    for (QDomElement child = element.firstChildElement(); !child.isNull();
         child = child.nextSiblingElement()) {
        auto mold = new MoldItem(this);
        m_molds.push_back(mold);
        mold->setFileIndex(static_cast<int>(m_molds.size()));
        mold->loadFromProjectMainFile(child);
    }
    if (m_widget) {
        m_widget->rebuildIcons();
    }
}

void MoldGroupItem::doSaveToProjectMainFile(QXmlStreamWriter* writer)
{
    renumberFiles();
    for (MoldItem* mold : m_molds) {
        writer->writeStartElement(QStringLiteral("Mold"));
        mold->saveToProjectMainFile(writer);
        writer->writeEndElement();
    }
}

void MoldGroupItem::addDefaultMolds()
{
    const QString type = MoldItem::editTypeDisplayText(m_editType);
    const struct {
        QString name;
        std::vector<double> l;
        std::vector<double> h;
    } defaults[] = {
        {tr("Slope 1 (%1)").arg(type), {-3.0, 0.0, 3.0}, {-1.0, 1.0, 1.0}},
        {tr("Convex (%1)").arg(type), {-4.5, -1.5, 1.5, 4.5}, {-1.0, 1.0, 1.0, -1.0}},
        {tr("Slope 2(%1)").arg(type), {-3.0, 0.0, 3.0}, {0.0, 0.0, 2.0}},
        {tr("Concave (%1)").arg(type), {-4.5, -1.5, 1.5, 4.5}, {11.0, -2.0, -2.0, 11.0}},
        {tr("Level plane (%1)").arg(type), {-2.0, 0.0}, {0.0, 0.0}},
    };
    for (const auto& d : defaults) {
        m_molds.push_back(new MoldItem(d.name, m_editType, d.l, d.h, 0.0, 0.0, this));
    }
    renumberFiles();
}

void MoldGroupItem::renumberFiles()
{
    for (std::size_t i = 0; i < m_molds.size(); ++i) {
        m_molds[i]->setFileIndex(static_cast<int>(i + 1));
    }
}

} // namespace varnel
