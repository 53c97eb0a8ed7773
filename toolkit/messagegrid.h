#pragma once
// The message board's grid. Rows are only ever appended or all cleared; a layout after
// appends alone repaints just the new rows that fall inside the viewport, and the
// scroll bar, instead of every visible cell: on a long report the new rows lie below the
// visible ones, and shaping the visible cells' text again was most of a frame's cost.
#include <QTableView>

class MessageGrid : public QTableView {
    Q_OBJECT
public:
    using QTableView::QTableView;

    void setModel(QAbstractItemModel* model) override;
    void doItemsLayout() override;

private:
    void rowsAppended(const QModelIndex& parent, int first, int last);
    void anyOtherChange() { m_appendOnly = false; }

    int m_firstAppended = -1;  // first row appended since the last layout, -1: none
    bool m_appendOnly = true;  // nothing but appends since the last layout
};
