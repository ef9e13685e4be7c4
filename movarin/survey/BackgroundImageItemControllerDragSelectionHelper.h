#pragma once

#include "movarin/survey/BackgroundImageItemControllerSelectionHelper.h"

#include "pelkas/GdalImageSetting.h"

#include <guimisc/restorer/CursorChanger.h>

#include <memory>

class QCursor;

namespace varnel {

/// What the three mouse drags of a background image share: the placement at the press
/// (the start setting) and a cursor on the main window for as long as the drag lasts. A
/// move computes the new placement (`settingAt`) from the start setting, the press and
/// the mouse, and sets it on the picture directly as a preview; the release (any button)
/// puts the start setting back, pushes the new one as one undo entry and returns to the
/// normal mode.
class BackgroundImageItemController::DragSelectionHelper : public SelectionHelper {
public:
    ~DragSelectionHelper() override;

    guimisc::helper::SelectionHelper* mouseMoveEvent(QMouseEvent* event,
                                                     mvc::core::View* view) override;
    guimisc::helper::SelectionHelper* mouseReleaseEvent(QMouseEvent* event,
                                                        mvc::core::View* view) override;

protected:
    /// `cursorPicture` names the cursor's picture (its hot spot is the centre).
    DragSelectionHelper(SelectionHelper& other, const QString& cursorPicture);

    const gdalimg::GdalImageSetting& startSetting() const { return m_startSetting; }
    /// The placement for the mouse at `current` (widget pixels).
    virtual gdalimg::GdalImageSetting settingAt(const QPoint& current,
                                                const mvc::core::View* view) const = 0;

private:
    void setOnImage(const gdalimg::GdalImageSetting& setting) const;

    gdalimg::GdalImageSetting m_startSetting;
    std::unique_ptr<guimisc::restorer::CursorChanger> m_cursor;
};

} // namespace varnel
