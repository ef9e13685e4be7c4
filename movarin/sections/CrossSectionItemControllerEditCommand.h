#pragma once

#include "movarin/sections/CrossSectionItemController.h"

#include "orlin/core/Point2D.h"

#include <QPointer>
#include <QUndoCommand>

#include <vector>

namespace varnel {

/// Gives a section new end points ("Edit <caption>"): redo sets the new path, undo the
/// path the section had when the command was made; both emit the controller's `changed`.
/// The first redo (the push) keeps the working path on the main view; every later redo and
/// every undo reload it from the section (`clearSelection`), so that what the mode shows
/// and commits next is the section as it now is. The section is watched, not owned: a
/// section gone makes both steps do nothing.
class CrossSectionItemController::EditCommand : public QUndoCommand {
public:
    EditCommand(const std::vector<tin::core::Point2D>& path, CrossSectionItem* section);
    ~EditCommand() override;

    void redo() override;
    void undo() override;

private:
    void apply(const std::vector<tin::core::Point2D>& path, bool reloadWorkingPath);

    QPointer<CrossSectionItem> m_section;
    std::vector<tin::core::Point2D> m_newPath;
    std::vector<tin::core::Point2D> m_oldPath;
    bool m_redoneBefore = false;
};

} // namespace varnel
