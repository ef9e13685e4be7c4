#pragma once

#include "movarin/survey/CoordinatePointsBaseItem.h"

#include <guimisc/xml/StringContainer.h>

namespace varnel {

class CoordinatePointsItemController;

/// One imported point set, a child of the group "Coordinate point data": the point-set
/// item with the caption it was imported under (the file's name without folder), kept as
/// the attribute "caption" of its element beside the view setting ("color", "radius",
/// "useColorByValue"), so that a reopened project shows the same names and colours.
/// Deletable and reorderable.
///
/// Its point file is "coordinatePoints%1.tpobin" with its 1-based position among the
/// group's children; the group names it before each load and save, so the numbers follow
/// the browser order of the last save. The set is never changed by the item itself: its
/// points are copied (as the same shared objects) into the points for the TIN.
class CoordinatePointsItem : public CoordinatePointsBaseItem {
    Q_OBJECT
public:
    /// For an import: takes ownership of `pointSet` (null: an empty set).
    CoordinatePointsItem(const QString& caption, tin::core::PointSet* pointSet,
                         mvc::core::ModelItem* parent);
    /// For loading: an empty set and an empty caption until the element is read.
    explicit CoordinatePointsItem(mvc::core::ModelItem* parent);
    ~CoordinatePointsItem() override;

    CoordinatePointsItemController* controller() const;

protected:
    /// Reads "caption" (shown as the row's text) and the view setting.
    void doLoadFromProjectMainFile(const QDomElement& element) override;
    /// Writes the view setting and "caption".
    void doSaveToProjectMainFile(QXmlStreamWriter* writer) override;
    mvc::core::ModelItemView* buildView() const override;
    mvc::core::ModelItemController* buildController() const override;

private:
    guimisc::xml::StringContainer m_caption;
};

} // namespace varnel
