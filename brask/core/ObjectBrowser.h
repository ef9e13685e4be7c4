#pragma once

#include <QDockWidget>

namespace mvc::core {

class ObjectBrowserView;

/// The dock that shows the object browser: the tree view of the active project window's
/// items. Title "Object Browser"; closable and movable, not floatable. Owns the view it
/// shows.
class ObjectBrowser : public QDockWidget {
    Q_OBJECT
public:
    explicit ObjectBrowser(QWidget* parent);
    ~ObjectBrowser() override;

    ObjectBrowserView* view() const;

protected:
    /// Deletes the view held so far and shows `view`.
    void setView(ObjectBrowserView* view);

private:
    ObjectBrowserView* m_view = nullptr;
};

} // namespace mvc::core
