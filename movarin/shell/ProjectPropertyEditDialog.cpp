#include "movarin/shell/ProjectPropertyEditDialog.h"

#include "movarin/shell/ProjectPropertyEditWidget.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

namespace varnel {

ProjectPropertyEditDialog::ProjectPropertyEditDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_buttonBox(new QDialogButtonBox(this))
{
    if (objectName().isEmpty()) {
        setObjectName(QStringLiteral("ProjectPropertyEditDialog"));
    }
    resize(508, 138);
    m_buttonBox->setObjectName(QStringLiteral("buttonBox"));
    m_buttonBox->setOrientation(Qt::Horizontal);
    m_buttonBox->setStandardButtons(QDialogButtonBox::Close);
    setWindowTitle(tr("Project Property"));
    connect(m_buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

ProjectPropertyEditDialog::~ProjectPropertyEditDialog()
{
    delete m_widget.data();
}

void ProjectPropertyEditDialog::setWidget(ProjectPropertyEditWidget* widget)
{
    if (widget == m_widget) {
        return;
    }
    delete m_widget.data();
    m_widget = widget;
    auto box = qobject_cast<QVBoxLayout*>(layout());
    if (!box) {
        box = new QVBoxLayout(this);
        box->addStretch();
        box->addWidget(m_buttonBox);
    }
    if (widget) {
        box->insertWidget(0, widget);
    }
}

ProjectPropertyEditWidget* ProjectPropertyEditDialog::widget() const
{
    return m_widget;
}

} // namespace varnel
