#pragma once

#include <QDialog>
#include <QPointer>

namespace varnel {

class CrossSectionItem;

/// The window of one cross section ("Cross Section"), opened by the section's controller in
/// a sub-window of the project's MDI area (see `CrossSectionItemController`). For now it is
/// an empty window whose life the controller governs: closing it (its close button, Escape)
/// hands it back to the controller, which destroys it.
///
/// The section is watched, not owned; a window whose section went closes only.
class CrossSectionDialog : public QDialog {
    Q_OBJECT
public:
    CrossSectionDialog(CrossSectionItem* section, QWidget* parent);
    ~CrossSectionDialog() override;

    /// The section shown; null once it went.
    CrossSectionItem* section() const;

public slots:
    /// Closes the window (Escape lands here).
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QPointer<CrossSectionItem> m_section;
};

} // namespace varnel
