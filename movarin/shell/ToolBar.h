#pragma once

#include <QToolBar>

namespace varnel {

/// The main tool bar: a tool bar with 16 by 16 icons that reports every time it is shown
/// or hidden, so that the View menu's check mark can follow it (also when the user closes
/// it from the tool-bar area's context menu).
///
/// `visibilityChanged` is this class's own signal and hides QToolBar's signal of the same
/// name: it is emitted from the show and hide handlers, before the base handlers run.
class ToolBar : public QToolBar {
    Q_OBJECT
public:
    ToolBar(const QString& title, QWidget* parent = nullptr);
    ~ToolBar() override;

signals:
    void visibilityChanged(bool visible);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
};

} // namespace varnel
