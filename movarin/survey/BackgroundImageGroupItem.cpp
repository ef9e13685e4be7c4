#include "movarin/survey/BackgroundImageGroupItem.h"

#include "movarin/survey/BackgroundImageGroupItemController.h"
#include "movarin/survey/BackgroundImageItem.h"

#include "brask/proj/Project.h"
#include "pelkas/GdalImage.h"
#include "pelkas/GdalImageLoadError.h"
#include "pelkas/GdalImageLoader.h"

#include <common/exception/RuntimeException.h>
#include <guimisc/StringSupport.h>
#include <guimisc/TmpFileCopyerToAscii.h>

#include <QDir>
#include <QDomElement>
#include <QFileInfo>
#include <QStandardItem>
#include <QXmlStreamWriter>

#include <memory>

namespace varnel {

namespace {

using guimisc::StringSupport;

const QString IMAGE_ELEMENT = QStringLiteral("BackgroundImage");

/// The picture at `path`, read in place when the path is ASCII-only, else from an ASCII
/// copy (with its world files) in `folder` that lives until the read is done.
std::unique_ptr<gdalimg::GdalImage> loadPicture(const QString& path, const QString& folder)
{
    try {
        if (StringSupport::isAscii(path)) {
            return std::unique_ptr<gdalimg::GdalImage>(
                gdalimg::GdalImageLoader::load(StringSupport::toStr(path)));
        }
        const guimisc::TmpFileCopyerToAscii copy(path, folder, true);
        try {
            return std::unique_ptr<gdalimg::GdalImage>(gdalimg::GdalImageLoader::load(copy.filename()));
        } catch (const gdalimg::GdalImageLoadError& e) {
            // The message names the file the user chose, not the copy GDAL read.
            QString text = QString::fromStdString(e.what());
            text.replace(QString::fromStdString(copy.filename()), path);
            throw common::exception::RuntimeException(text.toLocal8Bit().toStdString());
        }
    } catch (const gdalimg::GdalImageLoadError& e) {
        throw common::exception::RuntimeException(e.what());
    }
}

} // namespace

BackgroundImageGroupItem::BackgroundImageGroupItem(mvc::core::ModelItem* parent)
    : mvc::core::ModelItem(FolderIcon, tr("Background images"), parent, 0)
{
    setSubPath("backgroundImageGroup");
}

BackgroundImageGroupItem::~BackgroundImageGroupItem() = default;

BackgroundImageItem* BackgroundImageGroupItem::buildImageItem(const QString& path)
{
    const mvc::proj::Project* owner = project();
    const QString folder = owner ? owner->workFolder() : QDir::tempPath();
    std::unique_ptr<gdalimg::GdalImage> picture = loadPicture(path, folder);
    if (picture->image().isNull()) {
        throw common::exception::RuntimeException("Unsupported image format");
    }
    auto item = new BackgroundImageItem(QFileInfo(path).fileName(), picture.release(), this);
    // The attach command inserts the row where the item goes.
    browserItem()->takeRow(item->browserItem()->row());
    return item;
}

QString BackgroundImageGroupItem::itemTypeName() const
{
    return tr("background image");
}

void BackgroundImageGroupItem::doLoadFromProjectMainFile(const QDomElement& element)
{
    // Elements only: a comment between them makes no image.
    int index = 0;
    for (QDomElement child = element.firstChildElement(); !child.isNull();
         child = child.nextSiblingElement()) {
        auto item = new BackgroundImageItem(nullptr);
        item->setParent(this);
        attachChildAtBack(item);
        item->setFilenameByIndex(++index);
        item->loadFromProjectMainFile(child);
    }
}

void BackgroundImageGroupItem::doSaveToProjectMainFile(QXmlStreamWriter* writer)
{
    int index = 0;
    for (mvc::core::ModelItem* child : childItems()) {
        if (auto image = qobject_cast<BackgroundImageItem*>(child)) {
            image->setFilenameByIndex(++index);
        }
        writer->writeStartElement(IMAGE_ELEMENT);
        child->saveToProjectMainFile(writer);
        writer->writeEndElement();
    }
}

mvc::core::ModelItemController* BackgroundImageGroupItem::buildController() const
{
    return new BackgroundImageGroupItemController(this);
}

} // namespace varnel
