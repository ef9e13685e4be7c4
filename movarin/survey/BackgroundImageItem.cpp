#include "movarin/survey/BackgroundImageItem.h"

#include "movarin/shell/NonFiniteSaveGuard.h"
#include "movarin/survey/BackgroundImageItemController.h"
#include "movarin/survey/BackgroundImageItemView.h"

#include "brask/core/Model.h"
#include "pelkas/GdalImage.h"
#include "pelkas/GdalImageSetting.h"

#include <common/exception/RuntimeException.h>
#include <guimisc/xml/XmlSupport.h>
#include <vec/Vector2D.h>

#include <QDomElement>
#include <QFile>
#include <QIcon>
#include <QImageWriter>
#include <QSaveFile>
#include <QStandardItem>

#include <algorithm>

namespace varnel {

namespace {

const int OPTIONS = mvc::core::ModelItem::Deletable | mvc::core::ModelItem::Reorderable;

QIcon imageIcon()
{
    return QIcon(QStringLiteral(":/images/iconImage.png"));
}

QPointF toPoint(const vec::Vector2D& v)
{
    return QPointF(v.x(), v.y());
}

} // namespace

BackgroundImageItem::BackgroundImageItem(const QString& caption, gdalimg::GdalImage* image,
                                         mvc::core::ModelItem* parent)
    : mvc::core::ModelItem(imageIcon(), caption, parent, OPTIONS), m_image(image)
{
    m_filename = caption;
    if (m_image && !m_image->image().isNull() && !m_image->isSettingLoaded()) {
        placeByModelExtent();
    }
}

BackgroundImageItem::BackgroundImageItem(mvc::core::ModelItem* parent)
    : mvc::core::ModelItem(imageIcon(), QString(), parent, OPTIONS)
{
}

BackgroundImageItem::~BackgroundImageItem() = default;

gdalimg::GdalImage* BackgroundImageItem::image() const
{
    return m_image.get();
}

QString BackgroundImageItem::filename() const
{
    return m_filename;
}

void BackgroundImageItem::setFilenameByIndex(int index)
{
    setFilename("background" + std::to_string(index) + ".png");
}

bool BackgroundImageItem::isVisible() const
{
    return static_cast<const BackgroundImageItemView*>(view())->isVisible();
}

void BackgroundImageItem::show()
{
    static_cast<BackgroundImageItemView*>(view())->show();
}

void BackgroundImageItem::toggleVisibility()
{
    static_cast<BackgroundImageItemView*>(view())->toggleVisibility();
}

QString BackgroundImageItem::itemTypeName() const
{
    return tr("background image");
}

std::array<QPointF, 4> BackgroundImageItem::corners() const
{
    if (!m_image) {
        return {};
    }
    const gdalimg::GdalImageSetting& setting = m_image->setting();
    const QPointF p = setting.topLeft();
    const double s = setting.scale();
    const QPointF u = toPoint(vec::Vector2D(s, 0.0).rotate(setting.angle()));
    const QPointF v = toPoint(vec::Vector2D(0.0, -s).rotate(setting.angle()));
    const double w = m_image->image().width();
    const double h = m_image->image().height();
    return {p, p + w * u, p + h * v, p + w * u + h * v};
}

QRectF BackgroundImageItem::myBoundingBox() const
{
    if (!m_image) {
        return QRectF();
    }
    const std::array<QPointF, 4> c = corners();
    const auto [minX, maxX] = std::minmax({c[0].x(), c[1].x(), c[2].x(), c[3].x()});
    const auto [minY, maxY] = std::minmax({c[0].y(), c[1].y(), c[2].y(), c[3].y()});
    return QRectF(minX, minY, maxX - minX, maxY - minY);
}

void BackgroundImageItem::placeByModelExtent()
{
    const mvc::core::Model* owner = model();
    const QRectF extent = owner ? owner->boundingBox() : QRectF();
    const double w = m_image->image().width();
    const double h = m_image->image().height();

    gdalimg::GdalImageSetting setting;
    setting.setAngle(0.0);
    if (extent.width() == 0.0 && extent.height() == 0.0) {
        setting.setTopLeft(QPointF(0.0, h));
        setting.setScale(1.0);
    } else {
        setting.setTopLeft(QPointF(extent.x(), extent.y()));
        // Points on one north-south line have no width: their height sizes the image.
        const double scale = extent.width() > 0.0 ? extent.width() / w : extent.height() / h;
        setting.setScale(std::max(scale, gdalimg::GdalImageSetting::scaleMin));
    }
    m_image->setSetting(setting);
}

void BackgroundImageItem::doLoadFromProjectMainFile(const QDomElement& element)
{
    m_filename.load(element);
    if (QStandardItem* row = browserItem()) {
        row->setText(m_filename);
    }
    if (!m_image) {
        m_image = std::make_unique<gdalimg::GdalImage>(QImage());
    }
    // The corner is a map coordinate: one that is no finite number refuses the project.
    for (const char* corner : {"topLeftX", "topLeftY"}) {
        guimisc::xml::XmlSupport::getFiniteDoubleAttribute(element, QLatin1String(corner));
    }
    gdalimg::GdalImageSetting setting;
    setting.load(element);
    m_image->setSetting(setting);
}

void BackgroundImageItem::doSaveToProjectMainFile(QXmlStreamWriter* writer)
{
    if (m_image) {
        const QPointF corner = m_image->setting().topLeft();
        if (!NonFiniteSaveGuard::isFinite(corner.x(), corner.y())) {
            NonFiniteSaveGuard::refuse(caption());
        }
    }
    m_filename.save(writer);
    if (m_image) {
        m_image->setting().save(writer);
    }
}

void BackgroundImageItem::loadExternalData(const std::string& absoluteFilename)
{
    QImage picture;
    // A missing or unreadable file leaves the picture null; the placement stays.
    picture.load(QString::fromLocal8Bit(absoluteFilename.c_str()));
    if (!m_image) {
        m_image = std::make_unique<gdalimg::GdalImage>(QImage());
    }
    m_image->setImage(picture);
}

void BackgroundImageItem::saveExternalData(const std::string& absoluteFilename)
{
    if (absoluteFilename.empty()) {
        return;
    }
    const QString path = QString::fromLocal8Bit(absoluteFilename.c_str());
    if (!m_image || m_image->image().isNull()) {
        // Nothing to keep; a file of this name belongs to an image that was here before.
        QFile::remove(path);
        return;
    }
    QSaveFile file(path);
    bool written = file.open(QIODevice::WriteOnly);
    if (written) {
        QImageWriter writer(&file, "png");
        written = writer.write(m_image->image());
    }
    if (!written || !file.commit()) {
        throw common::exception::RuntimeException("Could not write the background image "
                                                  + absoluteFilename);
    }
}

mvc::core::ModelItemView* BackgroundImageItem::buildView() const
{
    return new BackgroundImageItemView(this);
}

mvc::core::ModelItemController* BackgroundImageItem::buildController() const
{
    return new BackgroundImageItemController(this);
}

} // namespace varnel
