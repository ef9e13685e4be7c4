#include "guimisc/FolderDeleter.h"

#include "guimisc/FileSupport.h"

namespace guimisc {

FolderDeleter::FolderDeleter(const QString& path) : m_path(path) {}

FolderDeleter::~FolderDeleter()
{
    FileSupport::rmdirRecursively(m_path);
}

} // namespace guimisc
