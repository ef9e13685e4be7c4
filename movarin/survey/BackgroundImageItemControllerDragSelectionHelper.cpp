#include "movarin/survey/BackgroundImageItemControllerDragSelectionHelper.h"

#include "movarin/survey/BackgroundImageItemControllerWaitingSelectionHelper.h"

#include "pelkas/GdalImage.h"

#include <QCursor>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPixmap>

namespace varnel {

using Self = BackgroundImageItemController::DragSelectionHelper;

Self::DragSelectionHelper(SelectionHelper& other, const QString& cursorPicture)
    : SelectionHelper(other)
{
    if (const gdalimg::GdalImage* image = controller()->item()->image()) {
        m_startSetting = image->setting();
    }
    if (QMainWindow* window = controller()->mainWindow()) {
        const QPixmap picture(cursorPicture);
        // QCursor's default hot spot (-1, -1) is the picture's centre.
        m_cursor = std::make_unique<guimisc::restorer::CursorChanger>(window, QCursor(picture));
    }
}

Self::~DragSelectionHelper() = default;

guimisc::helper::SelectionHelper* Self::mouseMoveEvent(QMouseEvent* event,
                                                       mvc::core::View* view)
{
    setOnImage(settingAt(event->pos(), view));
    repaint();
    return this;
}

guimisc::helper::SelectionHelper* Self::mouseReleaseEvent(QMouseEvent* event,
                                                          mvc::core::View* view)
{
    const gdalimg::GdalImageSetting setting = settingAt(event->pos(), view);
    setOnImage(m_startSetting);
    controller()->setSetting(setting);
    repaint();
    return new WaitingSelectionHelper(*this);
}

void Self::setOnImage(const gdalimg::GdalImageSetting& setting) const
{
    if (gdalimg::GdalImage* image = controller()->item()->image()) {
        image->setSetting(setting);
    }
}

} // namespace varnel
