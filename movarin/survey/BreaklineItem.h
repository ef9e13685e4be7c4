#pragma once

#include "brask/core/ModelItem.h"

#include <guimisc/xml/StringContainer.h>

#include <memory>
#include <vector>

namespace tin::core {
class Point;
}

namespace varnel {

class CoordinatePointsForTinItem;

/// One breakline of the points for the TIN: an ordered list of shared points of the parent's
/// point set (as the breakline tool makes it: at least two points, no point twice in a row),
/// shown in the browser under its caption ("Breakline 3"), deletable and movable. TIN creation
/// turns each pair of consecutive points into a constraint segment.
///
/// Storage: the caption as the attribute "caption" of its element, the points in the text
/// file "breakline%1.bln" beside the parent's point file, whose name the parent sets before
/// every load and save: one line per point, the point's number in that point file (its id
/// after the parent's save renumbered the points). Reading splits each line on commas, tabs
/// and spaces, skips lines without tokens, ignores tokens after the first and trims "\r", so
/// CRLF files load; a first token that is not an integer, or a number that is no record of
/// the parent's point file, fails the load with `common::exception::RuntimeException`
/// "Unexpected error in importing breakline.". Writing skips points that the parent's set no
/// longer holds, so that the file always loads.
///
/// The item shares its points with the parent's set; it owns nothing else. Cost: linear in
/// its points.
class BreaklineItem : public mvc::core::ModelItem {
    Q_OBJECT
public:
    using PointPtr = std::shared_ptr<tin::core::Point>;

    BreaklineItem(const QString& caption, const std::vector<PointPtr>& points,
                  mvc::core::ModelItem* parent);
    ~BreaklineItem() override;

    /// "breakline".
    QString itemTypeName() const override;
    /// Minimum and maximum x and y of the points; null without points.
    QRectF myBoundingBox() const override;

    const std::vector<PointPtr>& points() const;
    /// Sets the file name from the item's 1-based position among its parent's children.
    void setFilenameByIndex(int index);

protected:
    void doLoadFromProjectMainFile(const QDomElement& element) override;
    void doSaveToProjectMainFile(QXmlStreamWriter* writer) override;
    void loadExternalData(const std::string& absoluteFilename) override;
    void saveExternalData(const std::string& absoluteFilename) override;
    mvc::core::ModelItemView* buildView() const override;
    mvc::core::ModelItemController* buildController() const override;

private:
    CoordinatePointsForTinItem* pointsItem() const;

    guimisc::xml::StringContainer m_caption;
    std::vector<PointPtr> m_points;
};

} // namespace varnel
