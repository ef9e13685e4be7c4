#pragma once

#include "brask/proj/ProjectItem.h"

#include <guimisc/xml/StringContainer.h>
#include <mold/core/Mold.h>

#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QString>

#include <cstddef>
#include <memory>
#include <unordered_set>
#include <vector>

namespace tin::core {
class Point;
class Polygon;
class Tin;
} // namespace tin::core

class QPoint;

namespace varnel {

class DetailView;
class MoldItemController;
class MoldItemView;

/// One named mold of the molds library: the cross-section template (points (L, H) in metres,
/// L across the path and positive to the right of the walking direction, H above the path;
/// a base point; an edit type, Add or Sub) that GeoEdit surfaces are swept from.
///
/// The item holds its mold by value. The mold detail view, the mold editor and the painters
/// read and edit it through `mold()` or the forwarding operations below, which change nothing
/// but the mold (no undo, no repaint: the callers wrap them). An item made for loading has no
/// mold of its own until its file is read: until then it shows an empty mold and
/// `editTypeText` is empty.
///
/// Stored in two places: the name as the attribute "name" of the element the mold group
/// opens, the mold in a file of its own, "mold<i>.mld" (zelmo's mold file, written under a
/// temporary name and renamed over the old one when complete) in the group's folder, i being
/// the item's 1-based position in its group (`setFileIndex`, set by the group before every
/// save and load). A file that cannot be read or written throws zelmo's exception naming the
/// file; the project's open or save reports it.
///
/// Sweeping: `createTin` and `hasSimpleOutline` place the mold along a 3-D path through
/// sedrun's `TinFromMoldPathCreator`; each call rebuilds the sweep, O(c^2 + s m) for c corners,
/// s sections and m mold points, and `hasSimpleOutline` adds O(s^2) segment tests.
class MoldItem : public mvc::proj::ProjectItem {
    Q_OBJECT
public:
    using EditType = mold::core::Mold::EditType;

    MoldItem(const QString& name, const mold::core::Mold& mold, mvc::proj::ProjectItem* parent);
    MoldItem(const QString& name, EditType editType, const std::vector<double>& l,
             const std::vector<double>& h, double baseL, double baseH,
             mvc::proj::ProjectItem* parent);
    /// For loading: no name, and no mold until `loadExternalData` has read its file.
    explicit MoldItem(mvc::proj::ProjectItem* parent = nullptr);
    /// No name, no points, the base point at (0, 0).
    MoldItem(EditType editType, mvc::proj::ProjectItem* parent);
    ~MoldItem() override;

    QString name() const;
    void setName(const QString& name);

    mold::core::Mold& mold();
    const mold::core::Mold& mold() const;

    EditType editType() const;
    void setEditType(EditType editType);
    /// The display text of the edit type (`editTypeDisplayText`); empty while an item made for
    /// loading has not read its file.
    QString editTypeText() const;
    /// "Add" and "Sub" translated; zelmo's text for any other type ("Unknown").
    static QString editTypeDisplayText(EditType editType);

    std::size_t size() const;
    bool empty() const;
    const std::vector<double>& l() const;
    const std::vector<double>& h() const;
    /// Point i's offset, height and both; std::out_of_range when i >= size().
    double lAt(std::size_t i) const;
    double hAt(std::size_t i) const;
    QPointF point(std::size_t i) const;
    /// std::out_of_range on an empty mold.
    QPointF firstPoint() const;
    QPointF lastPoint() const;
    double baseL() const;
    double baseH() const;

    /// The indices, ascending, of the points (L, H) strictly inside the polygon
    /// (`varnel::pointIndicesInPolygon`).
    std::vector<std::size_t> pointIndicesInPolygon(const tin::core::Polygon& polygon) const;

    /// The rectangle of the points and the base point, x from the least to the greatest L,
    /// y from the least to the greatest H (so `top()` is the lowest height); (0, 0, 0, 0)
    /// without points, wherever the base point lies.
    QRectF boundingRect() const;
    /// `rect` with a side of no length made `side` long, centred where it was: what the mold
    /// views frame, so that a flat mold or a single spot still has an extent.
    static QRectF withExtent(QRectF rect, double side);

    /// Replaces all points; common::exception::RuntimeException when the lengths differ.
    void setLH(const std::vector<double>& l, const std::vector<double>& h);
    /// The point operations throw std::out_of_range for an index outside the mold (an
    /// insertion may also append, at i == size()).
    void setPoint(std::size_t i, const QPointF& point);
    void setLH(std::size_t i, double l, double h);
    void insertPoint(std::size_t i, const QPointF& point);
    void insertLH(std::size_t i, double l, double h);
    void erasePoint(std::size_t i);
    void appendPoint(const QPointF& point);
    void removeLastPoint();
    void clear();
    void setBase(double baseL, double baseH);

    /// The mold file's name becomes "mold<i>.mld".
    void setFileIndex(int i);

    /// The surface swept along `path` (x, y and elevation in metres), or null when the sweep
    /// builds nothing: a path of too few distinct corners (two on an open path, three on a
    /// closed one), a mold of fewer than two points, or a value that is not finite in the
    /// path or the mold. `notCorners` names path vertices (by index) that are no corners of
    /// an open path. On an open path the first and the last section are levelled: to their
    /// lowest point for an Add mold, to their highest for a Sub mold, so that the surface
    /// ends flush with the terrain; a closed path is not levelled. An edit type other than
    /// Add and Sub throws common::exception::RuntimeException "<type> not handled.".
    std::unique_ptr<tin::core::Tin>
    createTin(const std::vector<tin::core::Point>& path, bool closed,
              const std::unordered_set<std::size_t>& notCorners) const;

    /// Whether the outline of the sweep along `path` stays clear of itself, seen from above.
    /// Open path: the ring along the first side, across the last section, back along the
    /// last side and across the first section. Closed path: each side as a ring of its own.
    /// Segments of no length are left out; any two others that are no neighbours along the
    /// ring count as crossing when they cross, touch (a common end point included) or overlap.
    /// False when either side has fewer than two points, which includes every path the sweep
    /// builds nothing for.
    bool hasSimpleOutline(const std::vector<tin::core::Point>& path, bool closed) const;

    /// The mold editor of the item, made on first call and owned by the item.
    MoldItemController* controller();
    /// The painter of the item on mold views, made on first call and owned by the item.
    MoldItemView* view();
    /// The detail view that shows the item now (it registers itself); watched, not owned:
    /// null once that view is gone.
    void setDetailView(DetailView* view);
    DetailView* detailView() const;
    /// Opens the editor's context menu at the global position `pos`.
    void showContextMenu(const QPoint& pos);

protected:
    void doLoadFromProjectMainFile(const QDomElement& element) override;
    void doSaveToProjectMainFile(QXmlStreamWriter* writer) override;
    void loadExternalData(const std::string& absoluteFilename) override;
    void saveExternalData(const std::string& absoluteFilename) override;

private:
    guimisc::xml::StringContainer m_name;
    mold::core::Mold m_mold;
    bool m_awaitingFile;
    std::unique_ptr<MoldItemController> m_controller;
    std::unique_ptr<MoldItemView> m_view;
    QPointer<DetailView> m_detailView;
};

} // namespace varnel
