#pragma once

#include "brask/core/ModelItem.h"

#include <QString>

#include <vector>

namespace tin::core {
class Point;
}

namespace varnel {

class CrossSectionItem;

/// The "Cross sections" folder of an edit-mode project (folder icon; the row's caption is
/// fixed and the row is neither deletable nor movable). Its children are
/// `CrossSectionItem`s only, in browser order.
///
/// Project file. The edit-mode root writes the group inside "CrossSectionTop" >
/// "CrossSectionGroup"; the group writes one element "CrossSection" per section in child
/// order, after naming the section's file "crosssection<i>.png" by its 1-based position
/// (nothing is written under that name). Loading makes one section per child element of
/// the group's element, in document order (tag names are not checked; comments make none),
/// appends it and names its file by its position before it reads itself.
///
/// `buildCrossSection` and `importCsv` make sections that hang under the group by their
/// Qt parent only, for the caller to attach (an undo command, at the front).
/// `CrossSectionGroupItemController` drives the group (drawing, CSV import, delete all);
/// `CrossSectionGroupItemView` paints its sections on the main view.
class CrossSectionGroupItem : public mvc::core::ModelItem {
    Q_OBJECT
public:
    class CsvImporter;

    explicit CrossSectionGroupItem(mvc::core::ModelItem* parent);
    ~CrossSectionGroupItem() override;

    /// A new section named `name` from `start` to `end`, not among the children and with its
    /// row taken back out; the caller attaches it (and owns it until then).
    CrossSectionItem* buildCrossSection(const QString& name, const tin::core::Point& start,
                                        const tin::core::Point& end);
    /// The sections of the CSV file at `path` (see `CsvImporter`), built as by
    /// `buildCrossSection`, the file's last line first.
    std::vector<CrossSectionItem*> importCsv(const QString& path);
    /// The children as sections, in browser order.
    std::vector<CrossSectionItem*> crossSections() const;

    QString itemTypeName() const override;

protected:
    void doLoadFromProjectMainFile(const QDomElement& element) override;
    void doSaveToProjectMainFile(QXmlStreamWriter* writer) override;
    mvc::core::ModelItemController* buildController() const override;
    mvc::core::ModelItemView* buildView() const override;
};

} // namespace varnel
