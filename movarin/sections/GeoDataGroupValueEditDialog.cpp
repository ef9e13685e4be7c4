#include "movarin/sections/GeoDataGroupValueEditDialog.h"

#include "movarin/sections/GeoDataGroupValueEditWidget.h"

#include <guimisc/widget/WidgetContainerWidget.h>

#include <QDialogButtonBox>
#include <QPushButton>
#include <QSpacerItem>
#include <QVBoxLayout>

namespace varnel {

GeoDataGroupValueEditDialog::GeoDataGroupValueEditDialog(QWidget* parent)
    : QDialog(parent, Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_container(new guimisc::widget::WidgetContainerWidget(this)),
      m_buttonBox(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel,
                                       Qt::Horizontal, this))
{
    setObjectName(QStringLiteral("GeoDataGroupValueEditDialog"));
    setWindowTitle(tr("Edit value"));
    resize(248, 66);
    m_container->setObjectName(QStringLiteral("widgetContainer"));
    m_buttonBox->setObjectName(QStringLiteral("buttonBox"));
    auto layout = new QVBoxLayout(this);
    layout->addWidget(m_container);
    layout->addItem(new QSpacerItem(20, 0, QSizePolicy::Minimum, QSizePolicy::Expanding));
    layout->addWidget(m_buttonBox);
    connect(m_buttonBox, &QDialogButtonBox::accepted, this, &GeoDataGroupValueEditDialog::accept);
    connect(m_buttonBox, &QDialogButtonBox::rejected, this, &GeoDataGroupValueEditDialog::reject);
}

GeoDataGroupValueEditDialog::~GeoDataGroupValueEditDialog() = default;

void GeoDataGroupValueEditDialog::setWidget(GeoDataGroupValueEditWidget* editor)
{
    m_editor = editor;
    auto widget = dynamic_cast<QWidget*>(editor);
    m_container->setWidget(widget);
    if (widget) {
        widget->setFocus();
    }
}

void GeoDataGroupValueEditDialog::setValue(const QVariant& value)
{
    if (m_editor) {
        m_editor->setValue(value);
    }
}

QVariant GeoDataGroupValueEditDialog::value() const
{
    return m_editor ? m_editor->value() : QVariant(0);
}

void GeoDataGroupValueEditDialog::disableCancel()
{
    m_cancelDisabled = true;
    m_buttonBox->button(QDialogButtonBox::Cancel)->setEnabled(false);
}

void GeoDataGroupValueEditDialog::reject()
{
    if (!m_cancelDisabled) {
        QDialog::reject();
    }
}

} // namespace varnel
