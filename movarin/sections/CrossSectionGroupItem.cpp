#include "movarin/sections/CrossSectionGroupItem.h"

#include "movarin/sections/CrossSectionGroupItemController.h"
#include "movarin/sections/CrossSectionGroupItemCsvImporter.h"
#include "movarin/sections/CrossSectionGroupItemView.h"
#include "movarin/sections/CrossSectionItem.h"

#include <QDomElement>
#include <QStandardItem>
#include <QXmlStreamWriter>

#include <vector>

namespace varnel {

namespace {

const QString SECTION_ELEMENT = QStringLiteral("CrossSection");

} // namespace

CrossSectionGroupItem::CrossSectionGroupItem(mvc::core::ModelItem* parent)
    : mvc::core::ModelItem(FolderIcon, tr("Cross sections"), parent, 0)
{
}

CrossSectionGroupItem::~CrossSectionGroupItem() = default;

CrossSectionItem* CrossSectionGroupItem::buildCrossSection(const QString& name,
                                                           const tin::core::Point& start,
                                                           const tin::core::Point& end)
{
    auto section = new CrossSectionItem(name, start, end, this);
    // The attach command inserts the row where the section goes.
    browserItem()->takeRow(section->browserItem()->row());
    return section;
}

std::vector<CrossSectionItem*> CrossSectionGroupItem::importCsv(const QString& path)
{
    return CsvImporter::import(path, this);
}

std::vector<CrossSectionItem*> CrossSectionGroupItem::crossSections() const
{
    std::vector<CrossSectionItem*> sections;
    for (mvc::core::ModelItem* child : childItems()) {
        if (auto section = qobject_cast<CrossSectionItem*>(child)) {
            sections.push_back(section);
        }
    }
    return sections;
}

QString CrossSectionGroupItem::itemTypeName() const
{
    return tr("Cross section");
}

void CrossSectionGroupItem::doLoadFromProjectMainFile(const QDomElement& element)
{
    // Elements only: a comment between them makes no section. Each section is read before
    // its row joins the browser, so that reading it tells no view and no controller of a
    // change, and all join in one attach. (A section whose reading fails goes with the group,
    // its Qt parent.)
    std::vector<mvc::core::ModelItem*> sections;
    int index = 0;
    for (QDomElement child = element.firstChildElement(); !child.isNull();
         child = child.nextSiblingElement()) {
        auto section = new CrossSectionItem(nullptr);
        section->setParent(this);
        sections.push_back(section);
        section->setFilenameByIndex(++index);
        section->loadFromProjectMainFile(child);
    }
    attachChildrenAt(sections, static_cast<int>(childItems().size()));
}

void CrossSectionGroupItem::doSaveToProjectMainFile(QXmlStreamWriter* writer)
{
    int index = 0;
    for (CrossSectionItem* section : crossSections()) {
        section->setFilenameByIndex(++index);
        writer->writeStartElement(SECTION_ELEMENT);
        section->saveToProjectMainFile(writer);
        writer->writeEndElement();
    }
}

mvc::core::ModelItemView* CrossSectionGroupItem::buildView() const
{
    return new CrossSectionGroupItemView(this);
}

mvc::core::ModelItemController* CrossSectionGroupItem::buildController() const
{
    return new CrossSectionGroupItemController(this);
}

} // namespace varnel
