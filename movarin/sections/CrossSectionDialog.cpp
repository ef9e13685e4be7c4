#include "movarin/sections/CrossSectionDialog.h"

#include "movarin/sections/CrossSectionItem.h"
#include "movarin/sections/CrossSectionItemController.h"

#include <QCloseEvent>

namespace varnel {

CrossSectionDialog::CrossSectionDialog(CrossSectionItem* section, QWidget* parent)
    : QDialog(parent, Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_section(section)
{
    setWindowTitle(tr("Cross Section"));
    resize(800, 500);
}

CrossSectionDialog::~CrossSectionDialog() = default;

CrossSectionItem* CrossSectionDialog::section() const
{
    return m_section;
}

void CrossSectionDialog::reject()
{
    close();
}

void CrossSectionDialog::closeEvent(QCloseEvent* event)
{
    if (m_section) {
        m_section->controller()->closeCrossSectionDialog();
    }
    event->accept();
}

} // namespace varnel
