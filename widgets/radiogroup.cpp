#include "radiogroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

TRadioGroup::TRadioGroup(QWidget* parent) : QGroupBox(parent), m_group(new QButtonGroup(this)) {
    new QVBoxLayout(this);
    connect(m_group, &QButtonGroup::idClicked, this, &TRadioGroup::itemClicked);
}

void TRadioGroup::setItems(const QStringList& items) {
    for (QAbstractButton* b : m_group->buttons()) {
        m_group->removeButton(b);
        delete b;
    }
    m_items = items;
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], this);
        m_group->addButton(b, i);
        layout()->addWidget(b);
    }
}

int TRadioGroup::itemIndex() const { return m_group->checkedId(); }

void TRadioGroup::setItemIndex(int index) {
    const int count = static_cast<int>(m_items.size());
    if (index >= count)
        index = count - 1;
    if (index < 0) {
        // An exclusive group never unchecks its last button by itself.
        m_group->setExclusive(false);
        for (QAbstractButton* b : m_group->buttons())
            b->setChecked(false);
        m_group->setExclusive(true);
        return;
    }
    m_group->button(index)->setChecked(true);
}

QRadioButton* TRadioGroup::button(int index) const { return qobject_cast<QRadioButton*>(m_group->button(index)); }
