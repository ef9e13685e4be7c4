#include "movarin/survey/TinExporter.h"

#include "brask/proj/Project.h"
#include "orlin/core/Tin.h"
#include "orlin/io/StlTinExporter.h"

#include <guimisc/TmpFileCopyerFromAscii.h>
#include <guimisc/exception/QStringRuntimeError.h>

#include <QDir>

#include <exception>

namespace varnel {

TinExporter::TinExporter(mvc::proj::Project* project)
    : QObject(project), m_workFolder(project ? project->workFolder() : QDir::tempPath())
{
}

TinExporter::~TinExporter() = default;

QStringList TinExporter::filters()
{
    return {tr("STL file (*.stl)")};
}

void TinExporter::exportTin(const QString& path, const tin::core::Tin& tin) const
{
    guimisc::TmpFileCopyerFromAscii copyer(path, m_workFolder);
    try {
        tin::io::StlTinExporter().exportTin(copyer.filename().c_str(), tin);
    } catch (const std::exception& e) {
        throw guimisc::exception::QStringRuntimeError(
            tr("Could not write %1: %2")
                .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(e.what())));
    }
    copyer.copy();
}

} // namespace varnel
