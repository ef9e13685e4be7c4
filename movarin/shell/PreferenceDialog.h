#pragma once

#include <QDialog>

#include <vector>

class QTabWidget;

namespace varnel {

class PreferencePage;

/// The preference dialog: the pages General, Graphics, Font and Developers on tabs, with OK
/// and Cancel. Each page shows the stored values when the dialog is made.
///
/// OK saves only when every page validates (see `apply`) and otherwise stays open on the
/// same values, with the first failing page's message shown; Cancel and the close button
/// save nothing. The main window also uses an unshown dialog at the first start, calling
/// `apply()` once to write the initial values.
///
/// The pages are children of the dialog.
class PreferenceDialog : public QDialog {
    Q_OBJECT
public:
    explicit PreferenceDialog(QWidget* parent = nullptr);
    ~PreferenceDialog() override;

    /// Validates the pages in tab order, stopping at the first that fails (its message is
    /// shown, later pages are not asked); when all pass, saves every page in tab order.
    /// Returns whether it saved. Nothing is written when it returns false.
    bool apply();

public slots:
    /// Closes the dialog as accepted when `apply()` succeeds; otherwise it stays open.
    void accept() override;

private:
    void addPage(PreferencePage* page, const QString& title);

    QTabWidget* m_tabWidget;
    std::vector<PreferencePage*> m_pages;
};

} // namespace varnel
