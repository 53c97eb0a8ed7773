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

void TDBComboBox::setDataSource(da::Table* table) {
    m_link.setSource(table);
    refresh();
}

void TDBComboBox::setDataField(const QString& name) {
    m_link.setFieldName(name);
    refresh();
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

void TDBComboBox::writeBack() {
    if (!m_modified || !m_link.table())
        return;
    m_link.write(currentText());
    m_modified = false;
}
