#include "mirvel/EllipseToPlaneProjectionPairSelectDialog.h"

#include "guimisc/StringSupport.h"
#include "mirvel/EllipseToPlaneProjectionPairBuilder.h"
#include "proj/ProjectionPair.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QStringList>
#include <QVBoxLayout>

#include <algorithm>

namespace guiproj {

/// The dialog's widgets; they belong to the dialog as Qt children.
struct EllipseToPlaneProjectionPairSelectDialog::Form
{
    QVBoxLayout* verticalLayout = nullptr;
    QHBoxLayout* horizontalLayout = nullptr;
    QLabel* label = nullptr;
    QLineEdit* searchEdit = nullptr;
    QListWidget* listWidget = nullptr;
    QDialogButtonBox* buttonBox = nullptr;

    void setupUi(QDialog* dialog)
    {
        if (dialog->objectName().isEmpty()) {
            dialog->setObjectName(QStringLiteral("EllipseToPlaneProjectionPairSelectDialog"));
        }
        dialog->resize(400, 472);
        verticalLayout = new QVBoxLayout(dialog);
        verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
        horizontalLayout = new QHBoxLayout();
        horizontalLayout->setObjectName(QStringLiteral("horizontalLayout"));
        label = new QLabel(dialog);
        label->setObjectName(QStringLiteral("label"));
        horizontalLayout->addWidget(label);
        searchEdit = new QLineEdit(dialog);
        searchEdit->setObjectName(QStringLiteral("searchEdit"));
        horizontalLayout->addWidget(searchEdit);
        verticalLayout->addLayout(horizontalLayout);
        listWidget = new QListWidget(dialog);
        listWidget->setObjectName(QStringLiteral("listWidget"));
        verticalLayout->addWidget(listWidget);
        buttonBox = new QDialogButtonBox(dialog);
        buttonBox->setObjectName(QStringLiteral("buttonBox"));
        buttonBox->setOrientation(Qt::Horizontal);
        buttonBox->setStandardButtons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        verticalLayout->addWidget(buttonBox);

        dialog->setWindowTitle(QCoreApplication::translate(
            "EllipseToPlaneProjectionPairSelectDialog", "Select Coordinate System"));
        label->setText(
            QCoreApplication::translate("EllipseToPlaneProjectionPairSelectDialog", "Search:"));

        QObject::connect(buttonBox, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
        QObject::connect(buttonBox, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    }
};

EllipseToPlaneProjectionPairSelectDialog::EllipseToPlaneProjectionPairSelectDialog(
    QWidget* parent)
    : QDialog(parent)
    , m_form(std::make_unique<Form>())
{
    m_form->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    connect(m_form->searchEdit, &QLineEdit::textEdited, this,
            &EllipseToPlaneProjectionPairSelectDialog::updateList);
    connect(m_form->listWidget, &QListWidget::currentRowChanged, this,
            &EllipseToPlaneProjectionPairSelectDialog::updateCurrent);
}

EllipseToPlaneProjectionPairSelectDialog::~EllipseToPlaneProjectionPairSelectDialog() = default;

void EllipseToPlaneProjectionPairSelectDialog::setBuilder(
    const EllipseToPlaneProjectionPairBuilder* builder)
{
    m_builder = builder;
    updateList();
}

void EllipseToPlaneProjectionPairSelectDialog::setProjectionPair(proj::ProjectionPair* pair)
{
    m_projectionPair = pair;
    updateList();
}

proj::ProjectionPair* EllipseToPlaneProjectionPairSelectDialog::projectionPair() const
{
    return m_projectionPair;
}

void EllipseToPlaneProjectionPairSelectDialog::updateList()
{
    const std::string filter = guimisc::StringSupport::toStr(m_form->searchEdit->text().toLower());

    m_listedPairs.assign(1, nullptr);
    QStringList rows;
    rows << tr("(Not Specified)");
    if (m_builder) {
        for (proj::ProjectionPair* pair : m_builder->projectionPairs()) {
            if (filter.empty() || pair->searchTarget().find(filter) != std::string::npos) {
                rows << QString::fromLatin1(pair->caption().c_str());
                m_listedPairs.push_back(pair);
            }
        }
    }

    // The rows change without passing through updateCurrent: while the list is rebuilt, the
    // widget's own idea of the current row says nothing about the wanted pair.
    const auto listed = std::find(m_listedPairs.begin(), m_listedPairs.end(), m_projectionPair);
    const int row = listed == m_listedPairs.end()
        ? 0
        : static_cast<int>(listed - m_listedPairs.begin());
    {
        const QSignalBlocker blocker(m_form->listWidget);
        m_form->listWidget->clear();
        m_form->listWidget->addItems(rows);
        m_form->listWidget->setCurrentRow(row);
    }
    m_projectionPair = m_listedPairs[static_cast<std::size_t>(row)];
    m_form->listWidget->scrollToItem(m_form->listWidget->currentItem());
}

void EllipseToPlaneProjectionPairSelectDialog::updateCurrent(int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_listedPairs.size()) {
        return;
    }
    m_projectionPair = m_listedPairs[static_cast<std::size_t>(index)];
}

} // namespace guiproj
