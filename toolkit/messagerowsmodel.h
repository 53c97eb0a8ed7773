#pragma once
// The message board's rows for its grid: two columns, key and value, rows only ever
// appended at the end or all cleared. Appended rows reach the grid when they are
// published, so that a burst of rows costs the grid one layout and one repaint.
#include "toolkit/boardrows.h"

#include <QAbstractTableModel>
#include <vector>

class MessageRowsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Adds rows at the end; the grid sees them at the next publish().
    void append(const std::vector<BoardRow>& rows);
    // Hands the rows appended since the last call to the grid.
    void publish();
    bool hasUnpublished() const { return m_published < m_rows.size(); }
    void clear();
    // Every row, published or not.
    const std::vector<BoardRow>& rows() const { return m_rows; }

private:
    std::vector<BoardRow> m_rows;
    size_t m_published = 0;  // rows the grid knows of
};
