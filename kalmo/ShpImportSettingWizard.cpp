#include "kalmo/ShpImportSettingWizard.h"

#include "kalmo/ShpAttributeTable.h"
#include "kalmo/ShpImportItemPage.h"
#include "kalmo/ShpNameValueWidget.h"

#include "orlin/core/Polygon.h"
#include "orlin/core/Polyline.h"
#include "orlin/core/Rect.h"

#include <QSet>
#include <QTextCodec>
#include <QVBoxLayout>

#include <optional>

namespace tinshp {

struct ShpImportSettingWizard::Impl
{
    ShpNameValueWidget* nameValue = nullptr;
    ShpImportItemPage* itemPage = nullptr;
    QTextCodec* codec = QTextCodec::codecForLocale();
    ValueType valueType = ValueNone;
    ShpAttributeTable table;
    std::optional<QSet<int>> selectedRows; // taken at the first isTarget()
};

namespace {

tin::core::Rect boundsOf(const tin::core::Geometry* geometry)
{
    if (const auto* polygon = dynamic_cast<const tin::core::Polygon*>(geometry)) {
        return polygon->boundingRect();
    }
    if (const auto* polyline = dynamic_cast<const tin::core::Polyline*>(geometry)) {
        return polyline->boundingRect();
    }
    return tin::core::Rect();
}

} // namespace

ShpImportSettingWizard::ShpImportSettingWizard(const std::string& shpPath, QWidget* parent)
    : QWizard(parent), m_impl(std::make_unique<Impl>())
{
    setWindowTitle(tr("Shape file import wizard"));

    auto* valuePage = new QWizardPage(this);
    valuePage->setTitle(tr("Name and Value import setting"));
    m_impl->nameValue = new ShpNameValueWidget(valuePage);
    auto* valueLayout = new QVBoxLayout(valuePage);
    valueLayout->setContentsMargins(0, 0, 0, 0);
    valueLayout->addWidget(m_impl->nameValue);
    addPage(valuePage);

    m_impl->itemPage = new ShpImportItemPage(this);
    addPage(m_impl->itemPage);

    m_impl->table = ShpAttributeTable::read(shpPath, m_impl->codec);
    m_impl->nameValue->setTable(m_impl->table);
    m_impl->itemPage->setTable(m_impl->table);
}

ShpImportSettingWizard::~ShpImportSettingWizard() = default;

ShpImportSettingWizard::NameSetting ShpImportSettingWizard::nameSetting() const
{
    return m_impl->nameValue->nameFromColumn() ? NameFromColumn : NameAutomatic;
}

int ShpImportSettingWizard::nameIndex() const
{
    return m_impl->nameValue->nameIndex();
}

ShpImportSettingWizard::ValueSetting ShpImportSettingWizard::valueSetting() const
{
    return m_impl->nameValue->valueFromColumn() ? ValueFromColumn : ValueSpecified;
}

int ShpImportSettingWizard::valueIndex() const
{
    return m_impl->nameValue->valueIndex();
}

QVariant ShpImportSettingWizard::getValue(int row, int col) const
{
    return m_impl->table.value(row, col);
}

bool ShpImportSettingWizard::isTarget(int i, const tin::core::Geometry* geometry)
{
    const ShpImportItemPage& page = *m_impl->itemPage;
    if (!m_impl->selectedRows) {
        m_impl->selectedRows = page.selectedRows();
    }
    switch (page.choice()) {
    case ShpImportItemPage::AllItems:
        return true;
    case ShpImportItemPage::SelectItems:
        return m_impl->selectedRows->contains(i);
    case ShpImportItemPage::SpecifyRegion:
        break;
    }
    const tin::core::Rect box = boundsOf(geometry);
    return !(box.xMin() > page.xMax() || page.xMin() > box.xMax() || box.yMin() > page.yMax() ||
             page.yMin() > box.yMax());
}

void ShpImportSettingWizard::setDefaultRegion(double xmin, double xmax, double ymin, double ymax)
{
    m_impl->itemPage->setRegion(xmin, xmax, ymin, ymax);
}

void ShpImportSettingWizard::setValueSpecifyWidget(QWidget* widget)
{
    m_impl->nameValue->setValueSpecifyWidget(widget);
}

void ShpImportSettingWizard::setValueType(ValueType type)
{
    m_impl->valueType = type;
}

QString ShpImportSettingWizard::codecName() const
{
    return QString::fromLatin1(m_impl->codec->name());
}

} // namespace tinshp
