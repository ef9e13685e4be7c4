#pragma once

#include "movarin/sections/GeoDataShapeSettingDialog.h"

namespace varnel {

/// The setting dialog of one shape kind: the shared form, filled from and read into that
/// kind's `Setting`.
template <class Setting>
class GeoDataShapeSettingDialogT : public GeoDataShapeSettingDialog {
public:
    void setSetting(const Setting& setting) { fillEditors(setting); }
    /// The setting the editors show.
    Setting setting() const
    {
        Setting result;
        readEditors(&result);
        return result;
    }

protected:
    GeoDataShapeSettingDialogT(const QString& title, QWidget* parent)
        : GeoDataShapeSettingDialog(title, parent)
    {
    }
};

} // namespace varnel
