#include "guimisc/LastIODirectory.h"

#include <QDir>
#include <QFileInfo>

namespace guimisc {

namespace {
QString& folder()
{
    static QString value = QDir::homePath();
    return value;
}
} // namespace

QString LastIODirectory::get()
{
    return folder();
}

void LastIODirectory::set(const QString& path)
{
    folder() = path;
}

void LastIODirectory::setFromAbsoluteFileName(const QString& path)
{
    folder() = QFileInfo(path).absolutePath();
}

} // namespace guimisc
