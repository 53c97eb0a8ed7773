#include "dbradiogroup.h"

#include "writeback.h"

TDBRadioGroup::TDBRadioGroup(QWidget* parent) : TRadioGroup(parent) {
    connect(this, &TRadioGroup::itemClicked, this, [this] {
        m_modified = true;
        writeBackReporting(this);
    });
}

void TDBRadioGroup::setValues(const QStringList& values) {
    m_values = values;
    refresh();
}

QString TDBRadioGroup::valueAt(int index) const {
    if (index < 0)
        return {};
    return index < m_values.size() ? m_values[index] : items().value(index);
}

void TDBRadioGroup::refresh() {
    const QString text = m_link.text();
    int found = -1;
    for (int i = 0; i < items().size() && found < 0; ++i) {
        if (valueAt(i) == text)
            found = i;
    }
    TRadioGroup::setItemIndex(found);
    m_modified = false;
}

void TDBRadioGroup::setItemIndex(int index) {
    TRadioGroup::setItemIndex(index);
    m_modified = true;
}
