#include "movarin/shell/StartPageRecentProject.h"

#include <QDir>
#include <QFileInfo>

namespace varnel {
namespace {

// Keeps the description near 35 characters: as much of the start of the folder as the
// file name leaves of 21 characters (all of it when the name is longer), the folder's end
// and the file name.
QString shortenedPath(const QString& path)
{
    if (path.length() < 35) {
        return path;
    }
    const QFileInfo info(path);
    const QString folder = info.path();
    const QString file = info.fileName();
    const int head = 21 - file.length();
    return (head < 0 ? folder : folder.left(head)) + QStringLiteral("...") + folder.right(10)
           + QLatin1Char('/') + file;
}

} // namespace

StartPageRecentProject::StartPageRecentProject(const QString& path, QWidget* parent)
    : StartPageLabel(parent), m_path(path)
{
    setTitle(QFileInfo(path).baseName());
    setDescription(QDir::toNativeSeparators(shortenedPath(path)));
}

StartPageRecentProject::~StartPageRecentProject() = default;

} // namespace varnel
