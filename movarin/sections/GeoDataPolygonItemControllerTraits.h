#pragma once

#include <QtGlobal>

namespace tin::core {
class Polygon;
}

namespace varnel {

class GeoDataPolygonItem;
class GeoDataPolygonSetting;
class GeoDataPolygonSettingDialog;

/// What the shared editing templates need to know of a polygon: its classes, that its ring
/// closes, that it needs 3 vertices and carries a value, and the texts and merge keys of
/// its commands (the keys are "GeoDataPolygonItemController::<command class>").
struct GeoDataPolygonItemControllerTraits {
    using Item = GeoDataPolygonItem;
    using Shape = tin::core::Polygon;
    using Setting = GeoDataPolygonSetting;
    using SettingDialog = GeoDataPolygonSettingDialog;

    static constexpr bool closed = true;
    static constexpr bool hasValue = true;
    static constexpr int minimumVertexCount = 3;

    static constexpr const char* className = "GeoDataPolygonItemController";
    static constexpr const char* context = "varnel::GeoDataPolygonItemController";
    static constexpr const char* defineStartText =
        QT_TRANSLATE_NOOP("varnel::GeoDataPolygonItemController", "Start defining polygon");
    static constexpr const char* defineAddPointText =
        QT_TRANSLATE_NOOP("varnel::GeoDataPolygonItemController", "Add point to polygon");
    static constexpr const char* defineEndText =
        QT_TRANSLATE_NOOP("varnel::GeoDataPolygonItemController", "Finish defining polygon");
    static constexpr const char* insertPointText =
        QT_TRANSLATE_NOOP("varnel::GeoDataPolygonItemController", "Add polygon point");
    static constexpr const char* deletePointText =
        QT_TRANSLATE_NOOP("varnel::GeoDataPolygonItemController", "Remove polygon point");
    static constexpr const char* movePointText =
        QT_TRANSLATE_NOOP("varnel::GeoDataPolygonItemController", "Move polygon point");
    static constexpr const char* setSettingText =
        QT_TRANSLATE_NOOP("varnel::GeoDataPolygonItemController", "Update polygon setting");
    static constexpr const char* tooFewPointsText =
        QT_TRANSLATE_NOOP("varnel::GeoDataPolygonItemController",
                          "A polygon needs at least 3 points.");
};

} // namespace varnel
