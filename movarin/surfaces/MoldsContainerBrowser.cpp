#include "movarin/surfaces/MoldsContainerBrowser.h"

namespace varnel {

MoldsContainerBrowser::MoldsContainerBrowser(QWidget* parent) : QDockWidget(parent)
{
    setWindowTitle(tr("Mold Browser"));
}

MoldsContainerBrowser::~MoldsContainerBrowser() = default;

} // namespace varnel
