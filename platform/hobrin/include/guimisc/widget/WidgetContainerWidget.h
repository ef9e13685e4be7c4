#pragma once

#include <QPointer>
#include <QWidget>

namespace guimisc::widget {

/// A place in a form that holds one widget supplied later by the caller (a value editor,
/// say). `setWidget` takes ownership of the new widget, deletes the one it held before and
/// lays the new one out to fill the container; null empties it.
class WidgetContainerWidget : public QWidget {
    Q_OBJECT
public:
    explicit WidgetContainerWidget(QWidget* parent = nullptr);
    ~WidgetContainerWidget() override;

    QWidget* widget() const { return m_widget; }
    void setWidget(QWidget* widget);

private:
    QPointer<QWidget> m_widget;
};

} // namespace guimisc::widget
