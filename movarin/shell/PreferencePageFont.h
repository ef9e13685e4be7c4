#pragma once

#include "movarin/shell/PreferencePage.h"

class QSpinBox;

namespace varnel {

/// The Font page: the point sizes of the labels drawn over the views (elevation, distance,
/// angle and the general size), each from 1 to 99. A missing or smaller stored size shows
/// as 1 and is saved so. Always valid.
class PreferencePageFont : public PreferencePage {
    Q_OBJECT
public:
    explicit PreferencePageFont(QWidget* parent = nullptr);
    ~PreferencePageFont() override;

    void save() override;
    bool validate() override;

private:
    void setupUi();
    void load();

    QSpinBox* m_elevationSpinBox;
    QSpinBox* m_distanceSpinBox;
    QSpinBox* m_angleSpinBox;
    QSpinBox* m_globalSpinBox;
};

} // namespace varnel
