#include "messagegrid.h"

#include <QAbstractItemModel>
#include <algorithm>

void MessageGrid::setModel(QAbstractItemModel* model) {
    if (QAbstractItemModel* old = this->model())
        disconnect(old, nullptr, this, nullptr);
    anyOtherChange();
    QTableView::setModel(model);
    if (!model)
        return;
    connect(model, &QAbstractItemModel::rowsInserted, this, &MessageGrid::rowsAppended);
    connect(model, &QAbstractItemModel::modelReset, this, &MessageGrid::anyOtherChange);
    connect(model, &QAbstractItemModel::layoutChanged, this, &MessageGrid::anyOtherChange);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &MessageGrid::anyOtherChange);
    connect(model, &QAbstractItemModel::columnsInserted, this, &MessageGrid::anyOtherChange);
    connect(model, &QAbstractItemModel::columnsRemoved, this, &MessageGrid::anyOtherChange);
}

void MessageGrid::rowsAppended(const QModelIndex& parent, int first, int last) {
    // Rows inserted anywhere but at the end move the rows below them.
    if (parent.isValid() || last != model()->rowCount() - 1)
        anyOtherChange();
    else if (m_firstAppended < 0)
        m_firstAppended = first;
}

void MessageGrid::doItemsLayout() {
    const bool appendOnly = m_appendOnly && m_firstAppended >= 0;
    const int first = m_firstAppended;
    m_firstAppended = -1;
    m_appendOnly = true;
    if (!appendOnly || !model())
        return QTableView::doItemsLayout();
    // The rows above keep their places; only the scroll range and the new rows change.
    updateGeometries();
    const int top = rowViewportPosition(first);
    if (top < viewport()->height())
        viewport()->update(0, std::max(0, top), viewport()->width(), viewport()->height() - std::max(0, top));
}
