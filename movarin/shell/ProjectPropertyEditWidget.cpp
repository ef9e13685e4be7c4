#include "movarin/shell/ProjectPropertyEditWidget.h"

#include "mirvel/EllipseToPlaneProjectionPairSelectDialog.h"
#include "movarin/shell/ProjectProperty.h"
#include "proj/ProjectionPair.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpacerItem>

namespace varnel {

/// The form's widgets; they belong to the widget as Qt children.
struct ProjectPropertyEditWidget::Form {
    QGridLayout* gridLayout = nullptr;
    QLabel* csLabel = nullptr;
    QHBoxLayout* horizontalLayout = nullptr;
    QLabel* csTextLabel = nullptr;
    QPushButton* csEditButton = nullptr;
    QString notSpecified;
};

ProjectPropertyEditWidget::ProjectPropertyEditWidget(ProjectProperty* property)
    : QWidget(nullptr), m_form(std::make_unique<Form>()), m_property(property)
{
}

ProjectPropertyEditWidget::~ProjectPropertyEditWidget() = default;

ProjectProperty* ProjectPropertyEditWidget::property() const
{
    return m_property;
}

void ProjectPropertyEditWidget::setupForm(const QString& objectName, const QSize& size,
                                          const QMargins* margins, const Texts& texts)
{
    if (this->objectName().isEmpty()) {
        setObjectName(objectName);
    }
    resize(size);
    Form& form = *m_form;
    form.gridLayout = new QGridLayout(this);
    form.gridLayout->setObjectName(QStringLiteral("gridLayout"));
    if (margins) {
        form.gridLayout->setContentsMargins(*margins);
    }
    form.csLabel = new QLabel(this);
    form.csLabel->setObjectName(QStringLiteral("csLabel"));
    form.gridLayout->addWidget(form.csLabel, 0, 0);
    form.horizontalLayout = new QHBoxLayout();
    form.horizontalLayout->setObjectName(QStringLiteral("horizontalLayout"));
    form.csTextLabel = new QLabel(this);
    form.csTextLabel->setObjectName(QStringLiteral("csTextLabel"));
    form.horizontalLayout->addWidget(form.csTextLabel);
    form.csEditButton = new QPushButton(this);
    form.csEditButton->setObjectName(QStringLiteral("csEditButton"));
    form.horizontalLayout->addWidget(form.csEditButton);
    form.horizontalLayout->addItem(
        new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    form.gridLayout->addLayout(form.horizontalLayout, 0, 1);

    setWindowTitle(texts.windowTitle);
    form.csLabel->setText(texts.coordinateSystem);
    form.csTextLabel->setText(QStringLiteral("TextLabel"));
    form.csEditButton->setText(texts.edit);
    form.notSpecified = texts.notSpecified;

    updateCoordinateSystemLabel();
    connect(form.csEditButton, &QPushButton::clicked, this,
            &ProjectPropertyEditWidget::editCoordinateSystem);
}

void ProjectPropertyEditWidget::updateCoordinateSystemLabel()
{
    if (!m_form->csTextLabel) {
        return;
    }
    const proj::ProjectionPair* pair = m_property ? m_property->projectionPair() : nullptr;
    m_form->csTextLabel->setText(pair ? QString::fromLatin1(pair->caption().c_str())
                                      : m_form->notSpecified);
}

void ProjectPropertyEditWidget::editCoordinateSystem()
{
    if (!m_property) {
        return;
    }
    guiproj::EllipseToPlaneProjectionPairSelectDialog dialog(this);
    dialog.setBuilder(m_property->projectionPairBuilder());
    dialog.setProjectionPair(m_property->projectionPair());
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const QString before = m_property->projectionPairName();
    m_property->setProjectionPair(dialog.projectionPair());
    if (m_property->projectionPairName() != before) {
        m_property->setModified(true);
    }
    updateCoordinateSystemLabel();
}

} // namespace varnel
