#pragma once

#include "movarin/shell/ProjectModelRootItem.h"

namespace varnel {

class BackgroundImageGroupItem;
class CoordinatePointsForTinItem;
class CoordinatePointsGroupItem;
class CreateModeMainWindowModel;
class GeoDataTopForCreateItem;
class ReadOnlyTinItem;

/// The root of a create-mode project's item tree: five fixed children, made by the
/// constructor and never replaced (the root owns them as its children):
///
///     entry 0  imported point sets          "CoordinatePoints"
///     entry 1  point set for the TIN        "CoordinatePointsForTin"
///     entry 2  the created TIN ("TIN")      "Tin"
///     entry 3  geographic reference data    (not saved)
///     entry 4  background images            "BackgroundImageGroup"
///
/// in three fixed orders: children (creation) 0, 1, 2, 4, 3; browser rows 0, 1, 2, 3, 4;
/// painting, first lowest, 4, 2, 0, 1, 3 (images at the bottom, the reference data on top).
///
/// "DataModel" holds the root's own state and then the four elements above in that order;
/// loading takes each one that is present ("BackgroundImages", the name of earlier
/// versions, when "BackgroundImageGroup" is absent) and leaves the others as they were.
class CreateModeMainWindowModelRootItem : public ProjectModelRootItem {
    Q_OBJECT
public:
    explicit CreateModeMainWindowModelRootItem(CreateModeMainWindowModel* model);
    ~CreateModeMainWindowModelRootItem() override;

    CoordinatePointsGroupItem* coordinatePointsGroupItem() const;
    CoordinatePointsForTinItem* coordinatePointsForTinItem() const;
    ReadOnlyTinItem* tinItem() const;
    GeoDataTopForCreateItem* geoDataTopItem() const;
    BackgroundImageGroupItem* backgroundImageGroupItem() const;

    std::vector<mvc::core::ModelItem*> paintingOrder() const override;

protected:
    void doLoadFromProjectMainFile(const QDomElement& element) override;
    void doSaveToProjectMainFile(QXmlStreamWriter* writer) override;
    mvc::core::ModelItemView* buildView() const override;

private:
    CoordinatePointsGroupItem* m_coordinatePointsGroupItem;
    CoordinatePointsForTinItem* m_coordinatePointsForTinItem;
    ReadOnlyTinItem* m_tinItem;
    GeoDataTopForCreateItem* m_geoDataTopItem;
    BackgroundImageGroupItem* m_backgroundImageGroupItem;
};

} // namespace varnel
