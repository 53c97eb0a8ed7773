#include "dbcombobox.h"

#include "writeback.h"

#include <QLineEdit>

TDBComboBox::TDBComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    connect(this, &QComboBox::activated, this, [this] {
        m_modified = true;
        writeBackReporting(this);
    });
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { m_modified = true; });
    connect(lineEdit(), &QLineEdit::editingFinished, this, [this] { writeBackReporting(this); });
}

void TDBComboBox::refresh() {
    const QString text = m_link.text();
    const int index = findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    setCurrentIndex(index);
    if (index < 0)
        setEditText(text);
    m_modified = false;
}

void TDBComboBox::setItemIndex(int index) {
    if (index < 0 || index >= count())
        index = -1;
    setCurrentIndex(index);
    if (index < 0)
        clearEditText();
    m_modified = true;
}
