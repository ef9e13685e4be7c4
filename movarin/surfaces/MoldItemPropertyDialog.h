#pragma once

#include "movarin/surfaces/MoldItem.h"
#include "movarin/surfaces/MoldSetting.h"

#include <QDialog>

class QCheckBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QSlider;

namespace guimisc {
class MultiCellOperableTableView;
}

namespace varnel {

class DetailView;
class MoldItemLhTableModel;

/// The modal "Mold Setting" dialog: it shapes a new mold or a copy of an existing one and
/// hands the result back as plain values (`result`), leaving every mold item of the caller
/// as it was. The mold is drawn enlarged in a detail view ("detailView"), where the mold
/// editor works, and listed in the editable L-H table ("lhTableView"). Above the view: the
/// edit type ("typeLabel"), the name ("nameLineEdit", starting with the name given; empty
/// for a new mold) and the grid width ("gridWidthSlider": 1 cm, 10 cm, 1 m; its label
/// "gridWidthLabel"; "autoCheckBox" lets the width follow the view's zoom).
///
/// A new mold is defined point by point once the caller has called `startDefinition`; OK
/// and the table stay disabled until that definition ends. OK refuses, with the "Error" box "The shape of
/// the mold is invalid." and the dialog left open, a mold of fewer than two points or one
/// whose L is not strictly monotonic; otherwise `result` holds the name field's text, the
/// edit type, the points and the base point. Cancel makes `result` the default setting.
///
/// The caller owns the dialog, runs it with `exec` and reads `result` after Accepted.
class MoldItemPropertyDialog : public QDialog {
    Q_OBJECT
public:
    class StyledItemDelegate;

    /// Edits a copy of `mold` named `name`.
    MoldItemPropertyDialog(const QString& name, const mold::core::Mold& mold,
                           QWidget* parent = nullptr);
    /// A new mold of `editType`.
    explicit MoldItemPropertyDialog(mold::core::Mold::EditType editType, QWidget* parent = nullptr);
    ~MoldItemPropertyDialog() override;

    /// Starts the point-by-point definition with the dialog's edit type.
    void startDefinition();
    /// The editor starts again from the dialog's mold; OK is enabled.
    void reloadMold();
    MoldSetting result() const { return m_result; }

    /// The mold being shaped (its points follow every finished gesture and table edit).
    MoldItem* moldItem() { return &m_mold; }
    DetailView* detailView() const { return m_detailView; }

public slots:
    /// The definition ended (or a gesture did): the table shows the mold anew, OK is enabled.
    void finishInitialSetting();
    /// Slider position 0, 1 or 2: grid and snapping of 0.01, 0.1 or 1.0 m; "Auto" unchecked.
    void updateGridWidth(int value);
    /// The position that suits the drawn area's width (above 5 m: 1 m, above 0.5 m: 10 cm,
    /// else 1 cm); "Auto" stays checked.
    void updateGridWidth();
    /// Checked: the grid width follows every change of the drawn area, starting now.
    void turnOnAutoUpdate(int state);
    void accept() override;
    void reject() override;

private:
    MoldItemPropertyDialog(const QString& name, QWidget* parent);
    void setupForm(const QString& name);
    void bindEditor();
    bool isValidShape() const;

    MoldSetting m_result;
    MoldSetting m_backup;
    MoldItem m_mold{mold::core::Mold::Add, nullptr};
    MoldItemLhTableModel* m_tableModel;
    QLabel* m_typeLabel = nullptr;
    QLineEdit* m_nameLineEdit = nullptr;
    QSlider* m_gridWidthSlider = nullptr;
    QLabel* m_gridWidthLabel = nullptr;
    QCheckBox* m_autoCheckBox = nullptr;
    DetailView* m_detailView = nullptr;
    guimisc::MultiCellOperableTableView* m_tableView = nullptr;
    QDialogButtonBox* m_buttonBox = nullptr;
};

} // namespace varnel
