#pragma once
// A framed group of radio buttons, one per item, of which at most one is selected.
// The selection is a position: -1 for none.
#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit TRadioGroup(QWidget* parent = nullptr);

    void setItems(const QStringList& items);
    QStringList items() const { return m_items; }
    int itemIndex() const;
    // Clamped to the group: below -1 gives none, past the last button gives the last.
    void setItemIndex(int index);
    QRadioButton* button(int index) const;

signals:
    // The user selected a button.
    void itemClicked(int index);

private:
    QStringList m_items;
    QButtonGroup* m_group;
};
