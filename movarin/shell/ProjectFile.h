#pragma once

#include "brask/proj/ProjectFile.h"
#include "movarin/shell/Project.h"

#include <QPointF>

namespace varnel {

class ProjectProperty;

/// The application's "project.xml": after the framework's frame ("Project" with
/// "version") it holds, in this order,
///
///     <Property CSR="EPSG:2451"/>             the project property (CSR only when set)
///     <Windows>
///       <Window name="createMainWindow"> ... </Window>   one per project window
///     </Windows>
///
/// Each "Window" is written by its window's item, in the MDI area's creation order, and
/// loading restores one window per child element of "Windows" in document order through
/// `restoreProjectWindow` (a child whose "name" is no window kind restores nothing). A
/// missing "Property" or "Windows" is skipped. The archive holds the files of every
/// window's item tree.
///
/// The file owns its property (a Qt child, set once by the kind's constructor); the windows
/// own their items, whose Qt parent is this file. `offsetUpdated` is for the main window's
/// mouse-position read-out; nothing emits it yet, so the offset stays (0, 0).
class ProjectFile : public mvc::proj::ProjectFile {
    Q_OBJECT
public:
    explicit ProjectFile(Project* project);
    ~ProjectFile() override;

    using QObject::property;
    using QObject::setProperty;

    ProjectProperty* property() const;
    Project* project() const override;
    /// Every window item's files, windows in creation order; the property has none.
    std::vector<std::string> containedFiles() const override;

signals:
    void offsetUpdated(const QPointF& offset);

protected:
    /// Takes `property` (made with this file as parent item) as the project's property.
    void setProperty(ProjectProperty* property);
    void doLoadFromProjectMainFile(const QDomElement& element) override;
    void doSaveToProjectMainFile(QXmlStreamWriter* writer) override;

private:
    ProjectProperty* m_property = nullptr;
};

} // namespace varnel
