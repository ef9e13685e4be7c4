#pragma once

#include "movarin/sections/GeoDataGroupValueEditWidget.h"

#include <QComboBox>
#include <QString>

#include <utility>
#include <vector>

namespace varnel {

/// Picks one of a group's enumerated values: one entry per pair (integer, label), in list
/// order, showing the label. The value is the pair's integer, not the entry's position; a
/// value in no pair selects the first entry.
class EnumValueEditWidget : public QComboBox, public GeoDataGroupValueEditWidget {
    Q_OBJECT
public:
    using Values = std::vector<std::pair<int, QString>>;

    explicit EnumValueEditWidget(const Values& values, QWidget* parent = nullptr);
    ~EnumValueEditWidget() override;

    /// The current entry's integer; 0 when the list is empty.
    QVariant value() const override;
    void setValue(const QVariant& value) override;
};

} // namespace varnel
