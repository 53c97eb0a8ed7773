#include "columnlinedelegate.h"

#include <QAbstractItemModel>
#include <QPainter>

void ColumnLineDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    if (index.column() + 1 >= index.model()->columnCount(index.parent()))
        return;
    const int x = option.direction == Qt::RightToLeft ? option.rect.left() : option.rect.right();
    painter->save();
    painter->setPen(option.palette.color(QPalette::Mid));
    painter->drawLine(x, option.rect.top(), x, option.rect.bottom());
    painter->restore();
}

void ColumnLineDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (option->direction != Qt::RightToLeft || option->text.isRightToLeft() || option->text.isEmpty())
        return;
    option->direction = Qt::LeftToRight;
    option->displayAlignment = Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter;
}
