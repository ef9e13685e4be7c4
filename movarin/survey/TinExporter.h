#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

namespace mvc::proj {
class Project;
}

namespace tin::core {
class Tin;
}

namespace varnel {

/// Writes a TIN as a binary STL file (orlin's `tin::io::StlTinExporter`) at a path that may
/// hold any characters: the writer takes 8-bit names, so it writes an ASCII-named temporary
/// file in the project's work folder (the system's temporary folder outside a project),
/// which then replaces the target whole. Every target goes that way, so a failed export
/// leaves the user's earlier file as it was.
///
/// STL stores 32-bit floats: coordinates far from the origin lose precision.
/// The exporter's Qt parent is the project; it holds nothing else.
class TinExporter : public QObject {
    Q_OBJECT
public:
    explicit TinExporter(mvc::proj::Project* project);
    ~TinExporter() override;

    /// The filters of the file dialog: "STL file (*.stl)".
    static QStringList filters();

    /// Writes `tin` to `path`. Throws `guimisc::exception::QStringRuntimeError` naming the
    /// path when the temporary file cannot be written or cannot replace the target.
    void exportTin(const QString& path, const tin::core::Tin& tin) const;

private:
    QString m_workFolder;
};

} // namespace varnel
