#include "movarin/shell/NonFiniteSaveGuard.h"

#include "orlin/io/NonFiniteValueException.h"

#include <guimisc/ErrorMessage.h>
#include <mold/core/Mold.h>

#include <cmath>

namespace varnel {

void NonFiniteSaveGuard::refuse(const QString& name)
{
    throw guimisc::ErrorMessage(
        tr("Cannot save %1: it holds a coordinate that is not a finite number.").arg(name));
}

void NonFiniteSaveGuard::write(const QString& name, const std::function<void()>& writer)
{
    try {
        writer();
    } catch (const tin::io::NonFiniteValueException&) {
        refuse(name);
    }
}

bool NonFiniteSaveGuard::isFinite(const mold::core::Mold& mold)
{
    if (!isFinite(mold.baseL(), mold.baseH())) {
        return false;
    }
    for (std::size_t i = 0; i < mold.l().size() && i < mold.h().size(); ++i) {
        if (!isFinite(mold.l()[i], mold.h()[i])) {
            return false;
        }
    }
    return true;
}

bool NonFiniteSaveGuard::isFinite(double x, double y)
{
    return std::isfinite(x) && std::isfinite(y);
}

} // namespace varnel
