#pragma once

#include <QtGlobal>

namespace tin::core {
class Polyline;
}

namespace varnel {

class GeoDataPolylineItem;
class GeoDataPolylineSetting;
class GeoDataPolylineSettingDialog;

/// What the shared editing templates need to know of a polyline: its classes, that its line
/// stays open, that it needs 2 vertices and carries no value, and the texts and merge keys of
/// its commands (the keys are "GeoDataPolylineItemController::<command class>").
struct GeoDataPolylineItemControllerTraits {
    using Item = GeoDataPolylineItem;
    using Shape = tin::core::Polyline;
    using Setting = GeoDataPolylineSetting;
    using SettingDialog = GeoDataPolylineSettingDialog;

    static constexpr bool closed = false;
    static constexpr bool hasValue = false;
    static constexpr int minimumVertexCount = 2;

    static constexpr const char* className = "GeoDataPolylineItemController";
    static constexpr const char* context = "varnel::GeoDataPolylineItemController";
    static constexpr const char* defineStartText =
        QT_TRANSLATE_NOOP("varnel::GeoDataPolylineItemController", "Start defining polyline");
    static constexpr const char* defineAddPointText =
        QT_TRANSLATE_NOOP("varnel::GeoDataPolylineItemController", "Add point to polyline");
    static constexpr const char* defineEndText =
        QT_TRANSLATE_NOOP("varnel::GeoDataPolylineItemController", "Finish defining polyline");
    static constexpr const char* insertPointText =
        QT_TRANSLATE_NOOP("varnel::GeoDataPolylineItemController", "Add polyline point");
    static constexpr const char* deletePointText =
        QT_TRANSLATE_NOOP("varnel::GeoDataPolylineItemController", "Remove polyline point");
    static constexpr const char* movePointText =
        QT_TRANSLATE_NOOP("varnel::GeoDataPolylineItemController", "Move polyline point");
    static constexpr const char* setSettingText =
        QT_TRANSLATE_NOOP("varnel::GeoDataPolylineItemController", "Update polyline setting");
    static constexpr const char* tooFewPointsText =
        QT_TRANSLATE_NOOP("varnel::GeoDataPolylineItemController",
                          "A polyline needs at least 2 points.");
};

} // namespace varnel
