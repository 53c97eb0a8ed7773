#pragma once
// The message board's rows for its grid: two columns, key and value, rows only ever
// appended at the end or all cleared.
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

    void append(const std::vector<BoardRow>& rows);
    void clear();
    const std::vector<BoardRow>& rows() const { return m_rows; }

private:
    std::vector<BoardRow> m_rows;
};
