#pragma once

#include <QTableView>

class QAction;

namespace guimisc {

/// A table view for tables of numbers that the user edits many cells at a time.
///
/// - Any set of cells can be selected (extended selection of items).
/// - Paste (the platform's paste key or the context menu) writes tab- or comma-separated
///   text from the clipboard into the table: one line per row, fields separated by tabs
///   when the line holds a tab, else by commas. The block starts at the top-left selected
///   cell (the current cell without a selection) and is cut off at the table's edges. When
///   more than one cell is selected, only selected cells are written, and a single value
///   fills every selected cell. Each value goes to the model's `setData` as text for cells
///   that are editable; the model decides what it accepts.
/// - "Insert row" inserts one row before the current row (at the end without one) and
///   "Remove rows" removes every row that holds a selected cell through the model's
///   `insertRows` and `removeRows`: one `removeRows` call per run of adjacent rows, the last
///   run first, stopping at the first run the model refuses.
///
/// The view checks no values: the model validates. A model behind this view refuses a
/// change it cannot take (a cell text that is no number, a removal that would leave too few
/// rows) by returning false from `setData`, `insertRows` or `removeRows` and leaving itself
/// exactly as it was.
class MultiCellOperableTableView : public QTableView {
    Q_OBJECT
public:
    explicit MultiCellOperableTableView(QWidget* parent = nullptr);
    ~MultiCellOperableTableView() override;

public slots:
    /// Pastes the clipboard's text.
    void paste();
    /// Pastes `text` as the clipboard's text would be pasted.
    void pasteText(const QString& text);
    void insertRow();
    void removeSelectedRows();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QAction* m_pasteAction;
    QAction* m_insertRowAction;
    QAction* m_removeRowsAction;
};

} // namespace guimisc
