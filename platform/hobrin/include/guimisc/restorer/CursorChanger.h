#pragma once

#include <QCursor>
#include <QPointer>

class QWidget;

namespace guimisc::restorer {

/// Sets a widget's cursor for the lifetime of this object (an interaction mode that lasts
/// longer than one call, say) and puts the previous one back when it goes: the earlier
/// cursor when the widget had one of its own, else none (the widget shows its parent's
/// again). Changers nest. A widget destroyed first is simply not touched. Not copyable.
class CursorChanger {
public:
    CursorChanger(QWidget* widget, const QCursor& cursor);
    ~CursorChanger();

    CursorChanger(const CursorChanger&) = delete;
    CursorChanger& operator=(const CursorChanger&) = delete;

private:
    QPointer<QWidget> m_widget;
    bool m_hadCursor;
    QCursor m_oldCursor;
};

} // namespace guimisc::restorer
