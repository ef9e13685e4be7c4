#pragma once

#include "movarin/sections/CalculateSoilVolumeDialog.h"

#include "brask/util/SelectionHelper.h"
#include "orlin/core/Polygon.h"

#include <QPointer>

namespace varnel {

/// The region of a soil-volume calculation as a mode of the main view: the polygon drawn so
/// far (world coordinates, owned) and the dialog it is drawn for (watched: null once the
/// dialog has gone). Finishing the selection shows the dialog again. A helper built from
/// another takes its polygon over.
class CalculateSoilVolumeDialog::SelectionHelper : public mvc::util::SelectionHelper {
public:
    explicit SelectionHelper(CalculateSoilVolumeDialog* dialog);
    ~SelectionHelper() override;

    CalculateSoilVolumeDialog* dialog() const;
    const tin::core::Polygon& polygon() const;

protected:
    /// Takes `other`'s dialog and polygon; `other` is left with an empty polygon.
    SelectionHelper(SelectionHelper&& other);

    tin::core::Polygon& polygon();
    void doFinishSelection(mvc::core::View* view) override;

private:
    QPointer<CalculateSoilVolumeDialog> m_dialog;
    tin::core::Polygon m_polygon;
};

} // namespace varnel
