#pragma once

#include <QObject>

#include <memory>
#include <string>
#include <vector>

class QTextStream;

namespace proj {
class ProjectionPair;
}

namespace guiproj {

/// The catalogue of EPSG coordinate systems a project can name as its plane system.
///
/// Built once from the EPSG list compiled into mirvel (":/data/epsg.txt"): a comment line
/// "# <name of the system>" sets the caption for the definitions that follow it, and a definition
/// line "<code> <PROJ.4 parameters> <>" becomes a pair named "EPSG:<code>" when its parameters
/// name an ellipsoid ("+ellps=") or a datum ("+datum=") followed by a blank. The pair converts
/// from longitude and latitude on that ellipsoid or datum ("+proj=latlong" with the same
/// "+ellps=" and "+datum=", in that order) to the definition's system. A line of any other form,
/// a definition before the first caption and a definition that names neither make no pair.
///
/// The builder owns every pair and deletes them with itself; the project and the selection dialog
/// borrow them. Building does no projection work (each pair makes its projection on its first
/// conversion): one pass over the list's lines, O(lines). Lookup by name is a hash lookup; for a
/// name given twice the first pair is found.
class EllipseToPlaneProjectionPairBuilder : public QObject
{
    Q_OBJECT

public:
    /// Builds the catalogue from the compiled-in list. Throws
    /// common::exception::RuntimeException when that list cannot be read (a broken build).
    explicit EllipseToPlaneProjectionPairBuilder(QObject* parent = nullptr);
    /// Builds the catalogue from the given lines instead (tests give their own).
    explicit EllipseToPlaneProjectionPairBuilder(QTextStream& lines, QObject* parent = nullptr);
    ~EllipseToPlaneProjectionPairBuilder() override;

    /// Every pair, in the order of the list.
    const std::vector<proj::ProjectionPair*>& projectionPairs() const;

    /// The pair of that name ("EPSG:" and the code), or null when there is none.
    proj::ProjectionPair* projectionPair(const std::string& name) const;

private:
    void build(QTextStream& lines);

    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace guiproj
