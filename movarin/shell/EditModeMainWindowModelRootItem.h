#pragma once

#include "movarin/shell/ProjectModelRootItem.h"

namespace varnel {

class BackgroundImageGroupItem;
class CrossSectionGroupItem;
class EditModeMainWindowModel;
class GeoDataTopForEditItem;
class GeoEditSurfaceGroupItem;
class LandXmlExportItem;
class ReadOnlyTinItem;
class TinItem;
class ZindralExportItem;

/// The root of an edit-mode project's item tree: eight fixed children, made by the
/// constructor and never replaced (the root owns them as its children):
///
///     entry 0  base TIN ("base TIN")    "BaseTin"
///     entry 1  GeoEdit surfaces         "GeoEditSurfaceGroup"
///     entry 2  edited TIN ("TIN")       "Tin"
///     entry 3  cross sections           "CrossSectionGroup" inside "CrossSectionTop"
///     entry 4  geographic data          "GeoDataTop"
///     entry 5  background images        "BackgroundImageGroup"
///     entry 6  grid-model export        "ZindralExportSetting" (no browser row)
///     entry 7  LandXML export           (no browser row, not saved)
///
/// in three fixed orders: children (creation, and so the Add menu's order) 0, 2, 5, 1, 4,
/// 3, 6, 7; browser rows 0 to 5; painting, first lowest, 5, 0, 2, 1, 3, 4.
///
/// "DataModel" holds the root's own state and then "BaseTin", "Tin",
/// "BackgroundImageGroup", "GeoEditSurfaceGroup", "CrossSectionTop" (with one
/// "CrossSectionGroup" named "cross sections 1", written even without sections),
/// "GeoDataTop" and "ZindralExportSetting" in that order. Loading takes each one that is
/// present ("BackgroundImages", the name of earlier versions, when "BackgroundImageGroup"
/// is absent; the cross sections only inside "CrossSectionTop") and leaves the others as
/// they were. A project saved without any TIN has no "readOnlyTin.tin" and opens without
/// one; an archive that holds "tin.tin" or lists surfaces but lacks "readOnlyTin.tin" is
/// damaged, and loading throws `common::exception::FileOpenException` naming that file
/// before anything is read.
class EditModeMainWindowModelRootItem : public ProjectModelRootItem {
    Q_OBJECT
public:
    explicit EditModeMainWindowModelRootItem(EditModeMainWindowModel* model);
    ~EditModeMainWindowModelRootItem() override;

    ReadOnlyTinItem* baseTinItem() const;
    GeoEditSurfaceGroupItem* geoEditSurfaceGroupItem() const;
    TinItem* tinItem() const;
    CrossSectionGroupItem* crossSectionGroupItem() const;
    GeoDataTopForEditItem* geoDataTopItem() const;
    BackgroundImageGroupItem* backgroundImageGroupItem() const;
    ZindralExportItem* zindralExportItem() const;
    LandXmlExportItem* landXmlExportItem() const;

    std::vector<mvc::core::ModelItem*> paintingOrder() const override;

protected:
    void doLoadFromProjectMainFile(const QDomElement& element) override;
    void doSaveToProjectMainFile(QXmlStreamWriter* writer) override;
    mvc::core::ModelItemView* buildView() const override;

private:
    ReadOnlyTinItem* m_baseTinItem;
    GeoEditSurfaceGroupItem* m_geoEditSurfaceGroupItem;
    TinItem* m_tinItem;
    CrossSectionGroupItem* m_crossSectionGroupItem;
    GeoDataTopForEditItem* m_geoDataTopItem;
    BackgroundImageGroupItem* m_backgroundImageGroupItem;
    ZindralExportItem* m_zindralExportItem;
    LandXmlExportItem* m_landXmlExportItem;
};

} // namespace varnel
