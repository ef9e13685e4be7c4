#include "guimisc/MultiCellOperableTableView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>

#include <algorithm>
#include <set>

namespace guimisc {

namespace {

// Rows of tab- or comma-separated fields; a trailing line break adds no row.
QList<QStringList> parseBlock(const QString& text)
{
    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalized.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = normalized.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();
    }
    QList<QStringList> rows;
    for (const QString& line : lines) {
        const QChar separator = line.contains(QLatin1Char('\t')) ? QLatin1Char('\t')
                                                                  : QLatin1Char(',');
        QStringList fields = line.split(separator);
        for (QString& field : fields) {
            field = field.trimmed();
        }
        rows.append(fields);
    }
    return rows;
}

} // namespace

MultiCellOperableTableView::MultiCellOperableTableView(QWidget* parent)
    : QTableView(parent), m_pasteAction(new QAction(tr("Paste"), this)),
      m_insertRowAction(new QAction(tr("Insert row"), this)),
      m_removeRowsAction(new QAction(tr("Remove rows"), this))
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    m_pasteAction->setShortcut(QKeySequence::Paste);
    connect(m_pasteAction, &QAction::triggered, this, &MultiCellOperableTableView::paste);
    connect(m_insertRowAction, &QAction::triggered, this, &MultiCellOperableTableView::insertRow);
    connect(m_removeRowsAction, &QAction::triggered, this,
            &MultiCellOperableTableView::removeSelectedRows);
}

MultiCellOperableTableView::~MultiCellOperableTableView() = default;

void MultiCellOperableTableView::paste()
{
    pasteText(QApplication::clipboard()->text());
}

void MultiCellOperableTableView::pasteText(const QString& text)
{
    QAbstractItemModel* m = model();
    if (m == nullptr) {
        return;
    }
    const QList<QStringList> block = parseBlock(text);
    if (block.isEmpty()) {
        return;
    }
    QModelIndexList selected = selectionModel() != nullptr ? selectionModel()->selectedIndexes()
                                                           : QModelIndexList();
    if (selected.isEmpty() && currentIndex().isValid()) {
        selected.append(currentIndex());
    }
    if (selected.isEmpty()) {
        return;
    }
    int top = selected.first().row();
    int left = selected.first().column();
    std::set<std::pair<int, int>> cells;
    for (const QModelIndex& index : selected) {
        top = std::min(top, index.row());
        left = std::min(left, index.column());
        cells.insert({index.row(), index.column()});
    }
    const bool restricted = cells.size() > 1;

    auto write = [m](int row, int column, const QString& value) {
        const QModelIndex index = m->index(row, column);
        if (index.isValid() && (m->flags(index) & Qt::ItemIsEditable)) {
            m->setData(index, value, Qt::EditRole);
        }
    };

    if (restricted && block.size() == 1 && block.first().size() == 1) {
        for (const auto& cell : cells) {
            write(cell.first, cell.second, block.first().first());
        }
        return;
    }
    const int rows = m->rowCount();
    const int columns = m->columnCount();
    for (int r = 0; r < block.size() && top + r < rows; ++r) {
        const QStringList& fields = block.at(r);
        for (int c = 0; c < fields.size() && left + c < columns; ++c) {
            if (restricted && cells.count({top + r, left + c}) == 0) {
                continue;
            }
            write(top + r, left + c, fields.at(c));
        }
    }
}

void MultiCellOperableTableView::insertRow()
{
    QAbstractItemModel* m = model();
    if (m == nullptr) {
        return;
    }
    const QModelIndex current = currentIndex();
    m->insertRows(current.isValid() ? current.row() : m->rowCount(), 1);
}

void MultiCellOperableTableView::removeSelectedRows()
{
    QAbstractItemModel* m = model();
    if (m == nullptr || selectionModel() == nullptr) {
        return;
    }
    std::set<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedIndexes()) {
        rows.insert(index.row());
    }
    // One call per run of adjacent rows, so that the model judges each run whole (a model
    // that keeps a minimum of rows would otherwise give way row by row until it refuses);
    // the last run first, so that the earlier rows keep their numbers.
    auto it = rows.rbegin();
    while (it != rows.rend()) {
        const int last = *it;
        int first = last;
        for (++it; it != rows.rend() && *it == first - 1; ++it) {
            first = *it;
        }
        if (!m->removeRows(first, last - first + 1)) {
            return;
        }
    }
}

void MultiCellOperableTableView::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Paste)) {
        paste();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void MultiCellOperableTableView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    menu.addAction(m_pasteAction);
    menu.addSeparator();
    menu.addAction(m_insertRowAction);
    menu.addAction(m_removeRowsAction);
    const bool hasModel = model() != nullptr;
    m_pasteAction->setEnabled(hasModel);
    m_insertRowAction->setEnabled(hasModel);
    m_removeRowsAction->setEnabled(hasModel && selectionModel() != nullptr
                                   && selectionModel()->hasSelection());
    menu.exec(event->globalPos());
}

} // namespace guimisc
