#pragma once
// Paints grid cells with a line between the columns only: the grid's own lines are
// off, and each cell but those of the last column draws its edge towards the next one.
#include <QStyledItemDelegate>

class ColumnLineDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
