#include "movarin/survey/ReadOnlyTinItem.h"

#include <QIcon>
#include <QStandardItem>

namespace varnel {

ReadOnlyTinItem::ReadOnlyTinItem(mvc::core::ModelItem* parent)
    : mvc::core::ModelItem(QIcon(QStringLiteral(":/images/iconTin.png")), tr("TIN"), parent, 0),
      m_caption(tr("TIN"))
{
    updateCaption();
}

ReadOnlyTinItem::~ReadOnlyTinItem() = default;

QString ReadOnlyTinItem::itemTypeName() const
{
    return tr("TIN");
}

tin::core::Tin* ReadOnlyTinItem::tin() const
{
    return nullptr;
}

void ReadOnlyTinItem::setCaption(const QString& caption)
{
    m_caption = caption;
}

void ReadOnlyTinItem::updateCaption()
{
    if (QStandardItem* row = browserItem()) {
        row->setText(tin() ? m_caption : m_caption + tr(" (no data)"));
    }
}

} // namespace varnel
