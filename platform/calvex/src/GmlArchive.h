#pragma once

#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <string>
#include <vector>

namespace tingml::io {

/// A ZIP archive of GML files unpacked for reading: the archive is unpacked, with the unzip
/// process of the widget support library (Info-ZIP, which keeps members named with "../" or an
/// absolute path inside the target), into a fresh folder made inside the given temporary
/// folder, and that folder is removed with everything in it when the object goes (symbolic
/// links as links).
///
/// The constructor waits for unzip; a process that does not start, crashes or ends with any
/// exit code but 0 (warnings included) throws common::exception::RuntimeException naming the
/// archive, as does a temporary folder in which no folder can be made.
class GmlArchive {
public:
    struct Member {
        QString path;     ///< where the member was unpacked
        std::string name; ///< its name inside the archive (UTF-8), for messages
    };

    GmlArchive(const QString& archive, const QString& tempFolder, const std::string& archiveName);

    /// The ".xml" members (any case) that are regular files, in sorted name order.
    std::vector<Member> xmlMembers() const;

private:
    std::unique_ptr<QTemporaryDir> m_folder;
};

} // namespace tingml::io
