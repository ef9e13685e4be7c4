#pragma once

#include <mold/core/Mold.h>

#include <QString>

#include <vector>

namespace varnel {

/// A mold as plain values, handed out by the "Mold Setting" dialog: its name, edit type,
/// points (L and H of equal length, metres) and base point. By default an unnamed Add mold
/// without points, based at (0, 0).
struct MoldSetting {
    QString name;
    mold::core::Mold::EditType editType = mold::core::Mold::Add;
    std::vector<double> l;
    std::vector<double> h;
    double baseL = 0.0;
    double baseH = 0.0;
};

} // namespace varnel
