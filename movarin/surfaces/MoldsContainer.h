#pragma once

#include "brask/proj/ProjectItem.h"

#include <mold/core/Mold.h>

class QMainWindow;

namespace varnel {

class MoldGroupItem;

/// The molds library of an edit-mode project, owned by the GeoEdit surface group: two mold
/// groups, Add (edit type 0) and Sub (edit type 1), made with their default molds. Its
/// files lie in the sub-folder "moldsContainer" of the group's folder, each group's in a
/// folder of its own ("Add", "Sub").
///
/// In the project file the container's element holds "MoldsForAdd" and then "MoldsForSub".
/// Reading takes the element's child elements by position, whatever their tags: the first is
/// the Add group, the second the Sub group, a missing one an empty group; both groups lose
/// their molds first. After reading, every mold takes its group's edit type, whatever its
/// file says. `containedFiles` lists the Sub group's files before the Add group's.
class MoldsContainer : public mvc::proj::ProjectItem {
    Q_OBJECT
public:
    explicit MoldsContainer(mvc::proj::ProjectItem* parent);
    ~MoldsContainer() override;

    /// The group of that edit type; another type throws common::exception::RuntimeException
    /// "<type> not handled." (zelmo's text of the type, "Unknown").
    MoldGroupItem* group(mold::core::Mold::EditType editType) const;

    /// The main window of the GeoEdit surface group that owns the container; null outside a
    /// project window.
    QMainWindow* mainWindow() const;

    std::vector<std::string> containedFiles() const override;

protected:
    void doLoadFromProjectMainFile(const QDomElement& element) override;
    void doSaveToProjectMainFile(QXmlStreamWriter* writer) override;

private:
    MoldGroupItem* m_groups[2];
};

} // namespace varnel
