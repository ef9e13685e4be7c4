#pragma once

#include "guimisc/xml/XmlAttributeContainer.h"

#include <QPointer>

class QWidget;

namespace guimisc::xml {

/// The position, size and maximised state of a window, as the attributes "x", "y",
/// "width", "height" (integers, pixels) and "maximized" (boolean).
///
/// The frame described is the one the user moves: `widget` itself when `useWidgetItself` is
/// true, else the `QMdiSubWindow` that holds `widget` at the time of the call (or `widget`
/// when it is in none). The frame's geometry is its position in its parent; for a maximised
/// frame that is the maximised geometry.
///
/// `load`: a missing attribute keeps the frame's current value; the frame is then moved so
/// that its top-left corner lies inside its parent's area (the screen's available area for
/// a top-level window), and maximised or brought back to normal as stored. The widget is
/// not owned; once it is destroyed, `load` and `save` do nothing.
class WindowGeometryContainer : public XmlAttributeContainer {
public:
    WindowGeometryContainer(QWidget* widget, bool useWidgetItself);
    ~WindowGeometryContainer() override;

    void load(const QDomElement& element) override;
    void save(QXmlStreamWriter* writer) const override;

private:
    QWidget* frame() const;

    QPointer<QWidget> m_widget;
    bool m_useWidgetItself;
};

} // namespace guimisc::xml
