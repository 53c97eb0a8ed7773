#pragma once
// Paints grid cells with a line between the columns only: the grid's own lines are
// off, and each cell but those of the last column draws its edge towards the next one.
// In a right-to-left grid a left-to-right value (English, SQL) still stands at the
// reading edge, but is laid out and cut as its own language reads: an ellipsis at its
// right end, after the beginning it keeps.
#include <QStyledItemDelegate>

class ColumnLineDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};
