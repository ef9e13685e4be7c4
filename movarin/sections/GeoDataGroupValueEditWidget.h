#pragma once

#include <QVariant>

namespace varnel {

/// The editor of one value of a geographic-data group, as the group hands it out
/// (`GeoDataGroupItem::buildValueEditWidget`): the value dialog and the shapefile import
/// wizard show it and read the value back. Every implementation is a `QWidget` as well.
///
/// `setValue` takes any QVariant and shows the nearest thing the editor can (a text is
/// converted as `toInt` or `toDouble` would); `value` gives the group's own type (an int
/// for enumerations, a double for real values).
class GeoDataGroupValueEditWidget {
public:
    virtual ~GeoDataGroupValueEditWidget();
    virtual QVariant value() const = 0;
    virtual void setValue(const QVariant& value) = 0;
};

} // namespace varnel
