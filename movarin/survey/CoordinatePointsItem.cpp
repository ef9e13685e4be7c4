#include "movarin/survey/CoordinatePointsItem.h"

#include "movarin/survey/CoordinatePointsItemController.h"
#include "movarin/survey/CoordinatePointsItemView.h"

#include <QStandardItem>

namespace varnel {

namespace {

const int OPTIONS = mvc::core::ModelItem::Deletable | mvc::core::ModelItem::Reorderable;

} // namespace

CoordinatePointsItem::CoordinatePointsItem(const QString& caption, tin::core::PointSet* pointSet,
                                           mvc::core::ModelItem* parent)
    : CoordinatePointsBaseItem(caption, pointSet, parent, OPTIONS),
      m_caption(QStringLiteral("caption"))
{
    m_caption = caption;
    setFilename("coordinatePoints1.tpobin");
}

CoordinatePointsItem::CoordinatePointsItem(mvc::core::ModelItem* parent)
    : CoordinatePointsItem(QString(), nullptr, parent)
{
}

CoordinatePointsItem::~CoordinatePointsItem() = default;

CoordinatePointsItemController* CoordinatePointsItem::controller() const
{
    return static_cast<CoordinatePointsItemController*>(mvc::core::ModelItem::controller());
}

void CoordinatePointsItem::doLoadFromProjectMainFile(const QDomElement& element)
{
    m_caption.load(element);
    if (QStandardItem* row = browserItem()) {
        row->setText(m_caption);
    }
    loadViewSetting(element);
}

void CoordinatePointsItem::doSaveToProjectMainFile(QXmlStreamWriter* writer)
{
    saveViewSetting(writer);
    m_caption.save(writer);
}

mvc::core::ModelItemView* CoordinatePointsItem::buildView() const
{
    return new CoordinatePointsItemView(this);
}

mvc::core::ModelItemController* CoordinatePointsItem::buildController() const
{
    return new CoordinatePointsItemController(this);
}

} // namespace varnel
