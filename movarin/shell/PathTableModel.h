#pragma once

#include <QAbstractTableModel>
#include <QStringList>

namespace varnel {

/// The base of the table models of the path tables (`PathTableDialog`): one row per path
/// point (`pathSize`, none under a parent index), one column per header given to it, and the
/// "edit all rows" switch that the dialog's check box sets (`turnOnEditAllRows`), with which a
/// value typed into a cell goes into that column of every row.
class PathTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    ~PathTableModel() override;

    bool isEditAllRows() const { return m_editAllRows; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

public slots:
    void turnOnEditAllRows(int state);

protected:
    /// `headers`: the horizontal headers, already translated, one per column.
    PathTableModel(const QStringList& headers, QObject* parent);

    /// The number of path points; 0 without a path to show.
    virtual int pathSize() const = 0;
    /// Announces the rows from `first` to `last`, every column, as changed.
    void announceRows(int first, int last);

private:
    QStringList m_headers;
    bool m_editAllRows = false;
};

} // namespace varnel
