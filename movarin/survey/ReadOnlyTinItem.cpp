#include "movarin/survey/ReadOnlyTinItem.h"

#include "movarin/shell/NonFiniteSaveGuard.h"
#include "movarin/survey/ReadOnlyTinItemController.h"
#include "movarin/survey/ReadOnlyTinItemView.h"
#include "movarin/survey/TinExporter.h"
#include "movarin/survey/TinReadAhead.h"

#include "brask/proj/Project.h"
#include "orlin/core/Tin.h"
#include "orlin/io/TinTinExporter.h"
#include "orlin/io/TinTinImporter.h"

#include <guimisc/exception/QStringRuntimeError.h>

#include <Poco/File.h>

#include <QDir>
#include <QIcon>
#include <QStandardItem>

#include <cstdio>

namespace varnel {

const char ReadOnlyTinItem::FILENAME[] = "readOnlyTin.tin";

ReadOnlyTinItem::ReadOnlyTinItem(mvc::core::ModelItem* parent)
    : ReadOnlyTinItem(FILENAME, parent)
{
}

ReadOnlyTinItem::ReadOnlyTinItem(const std::string& filename, mvc::core::ModelItem* parent)
    : mvc::core::ModelItem(QIcon(QStringLiteral(":/images/iconTin.png")), tr("TIN"), parent, 0),
      m_caption(tr("TIN"))
{
    setFilename(filename);
    updateCaption();
}

ReadOnlyTinItem::~ReadOnlyTinItem() = default;

QString ReadOnlyTinItem::itemTypeName() const
{
    return tr("TIN");
}

QRectF ReadOnlyTinItem::myBoundingBox() const
{
    if (!m_tin || m_tin->empty()) {
        return QRectF(0.0, 0.0, 0.0, 0.0);
    }
    const tin::core::Rect r = m_tin->boundingRect();
    return QRectF(r.xMin(), r.yMin(), r.width(), r.height());
}

tin::core::Tin* ReadOnlyTinItem::tin() const
{
    return m_tin.get();
}

void ReadOnlyTinItem::setTin(tin::core::Tin* tin)
{
    m_tin.reset(tin);
    updateCaption();
}

void ReadOnlyTinItem::replaceTin(tin::core::Tin* tin, tin::core::Tin& old)
{
    std::unique_ptr<tin::core::Tin> incoming(tin);
    if (m_tin) {
        old = std::move(*m_tin);
    } else {
        old = tin::core::Tin();
    }
    m_tin = std::move(incoming);
    updateCaption();
}

void ReadOnlyTinItem::setCaption(const QString& caption)
{
    m_caption = caption;
}

void ReadOnlyTinItem::updateCaption()
{
    if (QStandardItem* row = browserItem()) {
        row->setText(m_tin && !m_tin->empty() ? m_caption : m_caption + tr(" (no data)"));
    }
}

void ReadOnlyTinItem::exportToStl(const QString& path) const
{
    if (!m_tin) {
        throw guimisc::exception::QStringRuntimeError(
            tr("There is no TIN to export to %1.").arg(QDir::toNativeSeparators(path)));
    }
    TinExporter exporter(project());
    exporter.exportTin(path, *m_tin);
}

ReadOnlyTinItemController* ReadOnlyTinItem::controller() const
{
    return static_cast<ReadOnlyTinItemController*>(mvc::core::ModelItem::controller());
}

ReadOnlyTinItemView* ReadOnlyTinItem::view() const
{
    return static_cast<ReadOnlyTinItemView*>(mvc::core::ModelItem::view());
}

void ReadOnlyTinItem::loadExternalData(const std::string& absoluteFilename)
{
    if (!Poco::File(absoluteFilename).exists()) {
        return;
    }
    const mvc::proj::Project* p = project();
    if (auto* readAhead = dynamic_cast<TinReadAhead*>(p ? p->memberReadAhead() : nullptr)) {
        if (std::unique_ptr<tin::core::Tin> tin = readAhead->take(absoluteFilename)) {
            setTin(tin.release());
            return;
        }
    }
    setTin(new tin::core::Tin(tin::io::TinTinImporter().importTin(absoluteFilename.c_str())));
}

void ReadOnlyTinItem::saveExternalData(const std::string& absoluteFilename)
{
    if (m_tin) {
        NonFiniteSaveGuard::write(m_caption, [&] {
            tin::io::TinTinExporter().exportTin(absoluteFilename.c_str(), *m_tin);
        });
    } else {
        // A file left by an earlier save or by the opened archive would bring back a TIN
        // that the item no longer holds.
        std::remove(absoluteFilename.c_str());
    }
}

mvc::core::ModelItemView* ReadOnlyTinItem::buildView() const
{
    return new ReadOnlyTinItemView(this);
}

mvc::core::ModelItemController* ReadOnlyTinItem::buildController() const
{
    return new ReadOnlyTinItemController(this);
}

} // namespace varnel
