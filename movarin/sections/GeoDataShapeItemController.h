#pragma once

#include "brask/core/ModelItemController.h"
#include "orlin/core/Point2D.h"

#include <QCursor>
#include <QPoint>
#include <QPointF>
#include <QString>

#include <functional>
#include <vector>

class QAction;

namespace varnel {

/// The editing of a polygon or polyline of the geographic data on the main view, as a
/// state machine of modes; `GeoDataShapeItemControllerT` adds the undo commands of one
/// shape kind, and `GeoDataPolygonItemController` and `GeoDataPolylineItemController` are
/// what the items build.
///
/// Definition. A new item (no vertex) waits for its first point (`WaitingFirstPoint`); a
/// left press there starts the shape with the point twice, a fixed vertex and a rubber-band
/// vertex that follows the mouse (`Defining`). Every further press fixes the rubber band
/// where it is and appends a new one. Enter or a left double click finishes: "Finish
/// defining" is pushed, which takes the rubber band away itself (whatever else lies on the
/// stack, a setting accepted meanwhile, say, stays as it is). A shape needs
/// `minimumVertexCount` distinct vertices without the rubber band (3 for a polygon, 2 for a
/// polyline); with fewer a Warning says so and the definition goes on. Undoing the finish
/// returns to `Defining` with the rubber band back where it was, so that neither a move nor
/// a finish touches the vertices that were fixed.
///
/// Vertex editing. Hovering finds the vertex under the mouse first, then an edge (for a
/// polygon also the closing edge); a vertex wins over an edge. A press on a vertex moves it
/// until the release (one undo entry); a press on an edge only changes the cursor. With
/// "&Add Vertex" checked a press on an edge inserts a vertex there and drags it; with
/// "&Remove Vertex" checked a press on a vertex removes it. Either happens once per press:
/// the release leaves the add or remove mode. The pick radius is `MouseSupport::nearRadius`
/// pixels; an edge counts only where the mouse's nearest point lies inside the segment.
///
/// Everything that changes the shape is an undo command pushed with a repaint; the geometry
/// commands also set the main view's cursor for the mode after their redo and undo. A
/// failure inside an input handler goes to the "Error" box. Owned by the item; owns its
/// actions and cursors.
class GeoDataShapeItemController : public mvc::core::ModelItemController {
    Q_OBJECT
public:
    enum Mode {
        Normal = 0,
        WaitingFirstPoint = 1,
        Defining = 2,
        EdgePressed = 3,
        NearEdge = 4,
        MovingVertex = 5,
        NearVertex = 6,
        InsertingVertex = 7,
        AddNearEdge = 8,
        AddNothingNear = 9,
        RemoveNearVertex = 10,
        RemoveNothingNear = 11
    };

    ~GeoDataShapeItemController() override;

    /// "&Add Vertex", "&Remove Vertex", "Edit &Coordinates...".
    void addCustomMenuItems(QMenu* menu) override;

    void keyPressEvent(QKeyEvent* event, mvc::core::View* view) override;
    void mouseDoubleClickEvent(QMouseEvent* event, mvc::core::View* view) override;
    void mouseMoveEvent(QMouseEvent* event, mvc::core::View* view) override;
    void mousePressEvent(QMouseEvent* event, mvc::core::View* view) override;
    void mouseReleaseEvent(QMouseEvent* event, mvc::core::View* view) override;

    Mode mode() const { return m_mode; }
    /// Set by the commands as they go both ways.
    void setMode(Mode mode) { m_mode = mode; }
    /// Whether the last vertex is the rubber band of a definition.
    bool hasRubberBand() const { return m_hasRubberBand; }
    void setRubberBand(bool rubberBand) { m_hasRubberBand = rubberBand; }
    /// The main view's cursor for the mode; nothing while the item is not selected.
    void updateMouseCursor();
    /// Enables and checks the actions for the mode and the number of vertices.
    virtual void updateActionStatus();

    QAction* addVertexAction() const { return m_addVertexAction; }
    QAction* removeVertexAction() const { return m_removeVertexAction; }
    QAction* editCoordinatesAction() const { return m_editCoordinatesAction; }

public slots:
    void addPointMode(bool on);
    void removePointMode(bool on);
    /// Numeric editing of the coordinates is not offered yet: nothing happens.
    void editCoordinates();

protected:
    explicit GeoDataShapeItemController(const mvc::core::ModelItem* item);

    void doInformSelection(mvc::core::View* view) override;
    void doInformDeselection(mvc::core::View* view) override;

    /// Runs `action`; a failure goes to the "Error" box instead of escaping the event.
    void guarded(const std::function<void()>& action);

    // The shape kind's part.
    virtual const std::vector<tin::core::Point2D>& vertices() const = 0;
    /// Whether an edge runs from the last vertex back to the first.
    virtual bool isClosed() const = 0;
    virtual int minimumVertexCount() const = 0;
    /// "A polygon needs at least 3 points." and the like.
    virtual QString tooFewPointsMessage() const = 0;
    /// Asks what finishing needs (a polygon's value); false cancels the finish.
    virtual bool prepareDefineEnd() = 0;
    virtual void pushDefineStart(const tin::core::Point2D& p, bool pressed) = 0;
    virtual void pushDefineAddPoint(const tin::core::Point2D& p, bool pressed) = 0;
    virtual void pushDefineEnd() = 0;
    virtual void pushInsertPoint(int index, const tin::core::Point2D& p, bool pressed) = 0;
    virtual void pushMovePoint(int index, const tin::core::Point2D& p, bool pressed) = 0;
    virtual void pushDeletePoint(int index) = 0;

private:
    void finishDefinition();
    /// The mode for the mouse at `widgetPos` (see the class comment).
    void updateModeFromPosition(const QPoint& widgetPos, const mvc::core::View* view);
    /// The first vertex within the pick radius of `world`, else -1.
    int vertexAt(const QPointF& world, double radius) const;
    /// The insertion index of the first edge within the pick radius of `world`, else -1.
    int edgeAt(const QPointF& world, double radius) const;
    QCursor cursorFor(Mode mode) const;

    Mode m_mode = WaitingFirstPoint;
    QPoint m_pressedPosition;
    int m_edgeIndex = 0;
    int m_vertexIndex = 0;
    bool m_hasRubberBand = false;

    QAction* m_addVertexAction;
    QAction* m_removeVertexAction;
    QAction* m_editCoordinatesAction;
    QCursor m_addCursor;
    QCursor m_removeCursor;
    QCursor m_moveVertexCursor;
};

} // namespace varnel
