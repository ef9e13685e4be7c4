#include "movarin/sections/DrawAuxiliaryDialog.h"

namespace varnel {

DrawAuxiliaryDialog::DrawAuxiliaryDialog(QWidget* parent)
    : QDialog(parent, Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(tr("Draw lines and points"));
}

DrawAuxiliaryDialog::~DrawAuxiliaryDialog() = default;

} // namespace varnel
