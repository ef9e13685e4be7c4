#pragma once

#include "movarin/sections/GeoDataGroupValueEditWidget.h"

#include <QWidget>

class QLabel;

namespace guimisc::widget {
class RealNumberEditWidget;
}

namespace varnel {

/// Edits one real value of a group: a number field (C-locale text) with the group's unit
/// after it ("m"; nothing for a unit-less value such as a roughness).
class RealValueEditWidget : public QWidget, public GeoDataGroupValueEditWidget {
    Q_OBJECT
public:
    explicit RealValueEditWidget(const QString& unit, QWidget* parent = nullptr);
    ~RealValueEditWidget() override;

    QVariant value() const override;
    void setValue(const QVariant& value) override;

private:
    guimisc::widget::RealNumberEditWidget* m_edit;
    QLabel* m_unitLabel;
};

} // namespace varnel
