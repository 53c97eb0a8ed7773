#include "messagerowsmodel.h"

int MessageRowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_published);
}

int MessageRowsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant MessageRowsModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    const BoardRow& row = m_rows[static_cast<size_t>(index.row())];
    return index.column() == 0 ? row.key : row.value;
}

QVariant MessageRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    // Both column titles are a single blank.
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < 2)
        return QStringLiteral(" ");
    return {};
}

void MessageRowsModel::append(const std::vector<BoardRow>& rows) { m_rows.insert(m_rows.end(), rows.begin(), rows.end()); }

void MessageRowsModel::publish() {
    if (!hasUnpublished())
        return;
    beginInsertRows({}, static_cast<int>(m_published), static_cast<int>(m_rows.size()) - 1);
    m_published = m_rows.size();
    endInsertRows();
}

void MessageRowsModel::clear() {
    beginResetModel();
    m_rows.clear();
    m_published = 0;
    endResetModel();
}
