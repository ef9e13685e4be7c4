#pragma once

#include "brask/proj/ProjectItem.h"

#include <QString>

namespace guiproj {
class EllipseToPlaneProjectionPairBuilder;
}

namespace proj {
class ProjectionPair;
}

namespace varnel {

class ProjectFile;
class ProjectPropertyEditWidget;

/// The project's property: its plane coordinate system, a pair borrowed from the main
/// window's EPSG catalogue, or none. Written as the attribute "CSR" of "Property" (the
/// pair's name, "EPSG:" and the code), and nothing when there is no system.
///
/// A name that the catalogue lacks (a project made with another edition of the EPSG list)
/// loads as no system but is kept as text and written back unchanged, so that a save does
/// not lose it; setting a pair, or none, replaces it.
///
/// Made with the project file as parent item (which deletes it); no external file. Each
/// project kind builds its own edit widget.
class ProjectProperty : public mvc::proj::ProjectItem {
    Q_OBJECT
public:
    explicit ProjectProperty(ProjectFile* parent);
    ~ProjectProperty() override;

    /// The coordinate system, or null when none is set.
    proj::ProjectionPair* projectionPair() const;
    /// Sets the system (null clears it) and forgets a kept unknown name.
    void setProjectionPair(proj::ProjectionPair* pair);
    /// The name written as "CSR": the pair's, else a kept unknown name, else empty.
    QString projectionPairName() const;
    /// The catalogue of the project's main window; null outside a project.
    const guiproj::EllipseToPlaneProjectionPairBuilder* projectionPairBuilder() const;

    /// A new edit widget for this property; the caller owns it.
    virtual ProjectPropertyEditWidget* buildEditWidget() = 0;

protected:
    void doLoadFromProjectMainFile(const QDomElement& element) override;
    void doSaveToProjectMainFile(QXmlStreamWriter* writer) override;

private:
    proj::ProjectionPair* m_projectionPair = nullptr;
    QString m_unknownName;
};

} // namespace varnel
