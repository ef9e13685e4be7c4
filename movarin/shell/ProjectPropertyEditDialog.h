#pragma once

#include <QDialog>
#include <QPointer>

class QDialogButtonBox;

namespace varnel {

class ProjectPropertyEditWidget;

/// The modal dialog "Project Property": a project kind's edit widget above a Close button.
/// The widget applies its changes at once, so Close and the title bar's close button
/// (which both reject) keep them; there is nothing to accept. No context-help button.
///
/// Owns the edit widget handed to `setWidget`.
class ProjectPropertyEditDialog : public QDialog {
    Q_OBJECT
public:
    explicit ProjectPropertyEditDialog(QWidget* parent);
    ~ProjectPropertyEditDialog() override;

    /// Takes `widget` and shows it above the buttons; a widget set before is deleted.
    void setWidget(ProjectPropertyEditWidget* widget);
    ProjectPropertyEditWidget* widget() const;

private:
    QPointer<ProjectPropertyEditWidget> m_widget;
    QDialogButtonBox* m_buttonBox;
};

} // namespace varnel
