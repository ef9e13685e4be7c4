#pragma once

#include <QPointer>

namespace mvc::core {
class Model;
}

namespace mvc::util {

/// A scope guard that fits the main view once the first data arrive: made around a
/// command that adds data, it notes whether the model's bounding box was empty (zero width
/// and zero height); when it goes, it fits the model's main view if it was. A model that
/// already showed something is left as the user placed it. The model is watched, not
/// owned: if it goes first, nothing happens.
class AutoFitter {
public:
    explicit AutoFitter(core::Model* model);
    AutoFitter(const AutoFitter&) = delete;
    AutoFitter& operator=(const AutoFitter&) = delete;
    ~AutoFitter();

private:
    QPointer<core::Model> m_model;
    bool m_wasEmpty;
};

} // namespace mvc::util
