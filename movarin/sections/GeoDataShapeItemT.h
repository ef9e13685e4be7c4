#pragma once

#include "movarin/sections/GeoDataGroupItem.h"
#include "movarin/shell/NonFiniteSaveGuard.h"

#include "brask/core/ModelItem.h"
#include "orlin/core/Polygon.h"
#include "orlin/core/Polyline.h"
#include "orlin/core/Rect.h"
#include "orlin/io/BinPolygonExporter.h"
#include "orlin/io/BinPolylineExporter.h"
#include "orlin/io/BinPoint2DListFile.h"

#include <QDomElement>
#include <QIcon>
#include <QRectF>
#include <QStandardItem>
#include <QXmlStreamWriter>

#include <exception>
#include <memory>
#include <string>
#include <type_traits>

namespace varnel {

/// What a polygon and a polyline of the geographic data share: a row of a
/// `GeoDataGroupItem` (caption editable, deletable, movable) that owns its shape
/// (`tin::core::Polygon` or `tin::core::Polyline`, never null) and its drawing `Setting`.
///
/// The shape lives in the item's own binary file (the binary polygon layout of orlin: a
/// vertex count, then x and y of each vertex), named by the group before every save and
/// load. A missing file loads as an empty shape; a damaged one fails the load with the
/// reader's exception. The element of the item holds the setting's attributes and
/// "caption".
///
/// `shapeChanged` is the hook through which an item tells others that its shape or its
/// drawing changed; `setShape` and `setSetting` call it, and so must everyone who edits the
/// shape in place (the controller's commands). Cost: the file and the box are linear in
/// the vertices.
template <class Shape, class Setting>
class GeoDataShapeItemT : public mvc::core::ModelItem {
public:
    /// Never null.
    Shape* shape() const { return m_shape.get(); }
    /// Takes ownership of `shape` (null: an empty one), deletes the old shape, then
    /// `shapeChanged`.
    void setShape(Shape* shape)
    {
        m_shape.reset(shape ? shape : new Shape());
        shapeChanged();
    }
    /// The shape of a geometry file as `tin::io::BinPoint2DListFile::readMany` found it: no
    /// shape for a missing file; what the reader threw is thrown here, the shape unchanged.
    void takeGeometry(tin::io::BinPoint2DListFile::Read&& read)
    {
        if (read.failure) {
            std::rethrow_exception(read.failure);
        }
        setShape(read.missing ? nullptr : new Shape(std::move(read.points)));
    }
    const Setting& setting() const { return m_setting; }
    /// Copies the setting, then `shapeChanged`.
    void setSetting(const Setting& setting)
    {
        m_setting = setting;
        shapeChanged();
    }
    /// The group the item belongs to (its Qt parent, also while detached); null outside one.
    GeoDataGroupItem* groupItem() const
    {
        return qobject_cast<GeoDataGroupItem*>(QObject::parent());
    }

    /// The vertices' box; null without vertices.
    QRectF myBoundingBox() const override
    {
        if (m_shape->empty()) {
            return QRectF();
        }
        const tin::core::Rect box = m_shape->boundingRect();
        return QRectF(box.xMin(), box.yMin(), box.width(), box.height());
    }

    /// Nothing here; see the class comment.
    virtual void shapeChanged() {}

protected:
    GeoDataShapeItemT(const QIcon& icon, const QString& caption, mvc::core::ModelItem* parent)
        : mvc::core::ModelItem(icon, caption, parent, CaptionEditable | Deletable | Reorderable),
          m_shape(std::make_unique<Shape>())
    {
    }

    /// The setting's attributes, then "caption".
    void saveShapeAttributes(QXmlStreamWriter* writer) const
    {
        m_setting.save(writer);
        writer->writeAttribute(QStringLiteral("caption"), caption());
    }
    void loadShapeAttributes(const QDomElement& element)
    {
        m_setting.load(element);
        if (QStandardItem* row = browserItem()) {
            row->setText(element.attribute(QStringLiteral("caption")));
        }
    }

    void loadExternalData(const std::string& absoluteFilename) override
    {
        takeGeometry(std::move(tin::io::BinPoint2DListFile::readMany({absoluteFilename}).front()));
    }
    void saveExternalData(const std::string& absoluteFilename) override
    {
        NonFiniteSaveGuard::write(this->caption(), [&] {
            if constexpr (std::is_same_v<Shape, tin::core::Polygon>) {
                tin::io::BinPolygonExporter().exportPolygon(absoluteFilename.c_str(), *m_shape);
            } else {
                tin::io::BinPolylineExporter().exportPolyline(absoluteFilename.c_str(), *m_shape);
            }
        });
    }

private:
    std::unique_ptr<Shape> m_shape;
    Setting m_setting;
};

} // namespace varnel
