#pragma once

#include "orlin/core/Point.h"

#include <QDialog>
#include <QPointer>
#include <QString>

#include <memory>
#include <tuple>
#include <vector>

class QPlainTextEdit;

namespace mvc::core {
class View;
}

namespace mvc::util {
class MainViewHelperI;
}

namespace varnel {

/// The tool for auxiliary lines and points, "Draw lines and points": the user types points,
/// polylines, edges and triangles as text, and `apply` draws them over the main view of the
/// project window that is the dialog's parent. The drawings belong to the dialog, not to the
/// project (they are not saved); the text stays in the editor between openings.
///
/// Text: one point per line, "x y" (further numbers are ignored); a blank line ends a
/// drawing. A line that begins with "#" is a header: "# color: <name or #rrggbb>" and
/// "# type: point | polyline | edge | triangle" (type words in any case, keys in lower
/// case) set the colour and the kind of the drawing that follows and end the one before;
/// a header without a colon, or whose text after the leading "#"s begins with another "#",
/// is a comment. Drawings start as black polylines; colour and kind carry on to the next
/// drawing. A point draws a dot, a polyline one open line, edges each pair of points and
/// triangles each triple (closed); every kind shows its points as dots. An unknown colour
/// draws in black. A bad line ("Invalid type: %1", "Invalid key: %1", "Invalid coordinates:
/// %1", also for "nan", "inf" and a coordinate beyond 1e9 in magnitude) is reported in a
/// warning box and leaves no drawing at all.
///
/// The main window's dialog manager makes one per project window (its parent) and runs it
/// modally each time the tool is chosen; it goes with that window. Destroying the dialog
/// takes its drawings off the main view, unless the view has gone first.
class DrawAuxiliaryDialog : public QDialog {
    Q_OBJECT
public:
    enum Kind { PointKind = 0, PolylineKind = 1, EdgeKind = 2, TriangleKind = 3, InvalidKind = 4 };
    /// One drawing: kind, colour text, points (elevation 0).
    using Record = std::tuple<int, QString, std::vector<tin::core::Point>>;

    explicit DrawAuxiliaryDialog(QWidget* parent = nullptr);
    ~DrawAuxiliaryDialog() override;

    /// The drawings of the last `apply` (none after a failed one).
    const std::vector<Record>& records() const;

public slots:
    /// `apply`, then closes the dialog.
    void accept() override;
    /// Closes the dialog; the drawings stay on the main view.
    void reject() override;
    /// Parses the whole text and replaces the drawings on the main view by the new ones.
    void apply();

private:
    /// The drawings of `text`; false with `error` set at the first bad line.
    static bool parse(const QString& text, std::vector<Record>* records, QString* error);
    void removeDrawings();

    std::vector<Record> m_records;
    std::vector<std::unique_ptr<mvc::util::MainViewHelperI>> m_helpers;
    // The drawing helpers keep pointers to the ring sizes.
    int m_edgeRingSize = 2;
    int m_triangleRingSize = 3;
    QPlainTextEdit* m_textEdit;
    // The view can go before the dialog when the project window closes.
    QPointer<mvc::core::View> m_view;
};

} // namespace varnel
