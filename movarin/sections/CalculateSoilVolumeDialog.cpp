#include "movarin/sections/CalculateSoilVolumeDialog.h"

namespace varnel {

CalculateSoilVolumeDialog::CalculateSoilVolumeDialog(QWidget* parent)
    : QDialog(parent, Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(tr("Soil Volume Calculation"));
}

CalculateSoilVolumeDialog::~CalculateSoilVolumeDialog() = default;

void CalculateSoilVolumeDialog::deleteMe()
{
    deleteLater();
}

} // namespace varnel
