#include "movarin/sections/CalculateSoilVolumeDialogSelectionHelper.h"

#include <utility>

namespace varnel {

CalculateSoilVolumeDialog::SelectionHelper::SelectionHelper(CalculateSoilVolumeDialog* dialog)
    : m_dialog(dialog)
{
}

CalculateSoilVolumeDialog::SelectionHelper::SelectionHelper(SelectionHelper&& other)
    : mvc::util::SelectionHelper(other), m_dialog(other.m_dialog),
      m_polygon(std::move(other.m_polygon))
{
    other.m_polygon = tin::core::Polygon();
}

CalculateSoilVolumeDialog::SelectionHelper::~SelectionHelper() = default;

CalculateSoilVolumeDialog* CalculateSoilVolumeDialog::SelectionHelper::dialog() const
{
    return m_dialog;
}

const tin::core::Polygon& CalculateSoilVolumeDialog::SelectionHelper::polygon() const
{
    return m_polygon;
}

tin::core::Polygon& CalculateSoilVolumeDialog::SelectionHelper::polygon()
{
    return m_polygon;
}

void CalculateSoilVolumeDialog::SelectionHelper::doFinishSelection(mvc::core::View*)
{
    if (m_dialog) {
        m_dialog->show();
        m_dialog->raise();
        m_dialog->activateWindow();
    }
}

} // namespace varnel
