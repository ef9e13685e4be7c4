#include "guimisc/KeyboardSupport.h"

#include <Qt>

namespace guimisc {

bool KeyboardSupport::isEnterKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace guimisc
