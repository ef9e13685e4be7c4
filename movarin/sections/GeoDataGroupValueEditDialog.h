#pragma once

#include <QDialog>
#include <QVariant>

class QDialogButtonBox;

namespace guimisc::widget {
class WidgetContainerWidget;
}

namespace varnel {

class GeoDataGroupValueEditWidget;

/// Asks for the value of a polygon ("Edit value"; callers set their own title) in the
/// editor its group hands out. Without an editor the value is the integer 0.
///
/// After `disableCancel` the dialog can only be left with OK: Cancel is greyed out, and
/// Escape and the window's close button do nothing. The definition of a polygon uses it so
/// that every polygon ends with a value.
class GeoDataGroupValueEditDialog : public QDialog {
    Q_OBJECT
public:
    explicit GeoDataGroupValueEditDialog(QWidget* parent = nullptr);
    ~GeoDataGroupValueEditDialog() override;

    /// Shows `editor` (a widget as well) in the dialog, which owns it from then on and
    /// deletes the one it showed before.
    void setWidget(GeoDataGroupValueEditWidget* editor);
    /// Shows `value` in the editor; nothing without one.
    void setValue(const QVariant& value);
    QVariant value() const;
    void disableCancel();

public slots:
    void reject() override;

private:
    guimisc::widget::WidgetContainerWidget* m_container;
    QDialogButtonBox* m_buttonBox;
    GeoDataGroupValueEditWidget* m_editor = nullptr;
    bool m_cancelDisabled = false;
};

} // namespace varnel
