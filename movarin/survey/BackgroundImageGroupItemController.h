#pragma once

#include "movarin/survey/BackgroundImageGroupItem.h"

#include "brask/core/ModelItemControllerT.h"

class QAction;

namespace varnel {

/// What the user does with the "Background images" folder: import a picture ("Import" in
/// its right-click menu and tool bar, "Background image" in the main window's Add menu)
/// and delete all pictures ("Delete all": the framework's delete of every child, one undo
/// entry).
///
/// Import asks for a file (through the message seam), starting in the last I/O folder;
/// a cancelled dialog changes nothing, not even that folder. A picture that cannot be
/// read shows the "Error" box "Error occured while loading <path> : <reason>" and adds
/// nothing. A read picture goes to the front of the group as one undo entry ("Add new
/// background image"), its row is selected, the group's row expanded and the last I/O
/// folder becomes the file's folder; the main view is fitted to the model when it showed
/// nothing before. Any other failure shows the "Error" box with its text.
///
/// Owned by the group item; owns its three actions (Qt children).
class BackgroundImageGroupItemController
    : public mvc::core::ModelItemControllerT<BackgroundImageGroupItem> {
    Q_OBJECT
public:
    explicit BackgroundImageGroupItemController(const BackgroundImageGroupItem* item);
    ~BackgroundImageGroupItemController() override;

    /// "Import", a separator, "Delete all".
    void addCustomMenuItems(QMenu* menu) override;
    /// "Import", "Delete all".
    void addToolBarButtons(QToolBar* toolBar) override;
    /// "Background image".
    void appendAddActionToMenu(QMenu* menu) const override;

    QAction* importAction() const { return m_importAction; }
    QAction* addAction() const { return m_addAction; }
    QAction* deleteAllAction() const { return m_deleteAllAction; }

public slots:
    void importImage();

private:
    QAction* m_importAction;
    QAction* m_addAction;
    QAction* m_deleteAllAction;
};

} // namespace varnel
