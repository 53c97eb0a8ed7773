#include "dbedit.h"

#include "dataaccess/sqlerror.h"

namespace da {

DBEdit::DBEdit(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::editingFinished, this, &DBEdit::editingDone);
}

void DBEdit::setDataSource(Table* table) {
    m_link.setSource(table);
    refresh();
}

void DBEdit::setDataSource(Query* query) {
    m_link.setSource(query);
    refresh();
}

void DBEdit::setDataField(const QString& name) {
    m_link.setFieldName(name);
    refresh();
}

void DBEdit::refresh() {
    setText(m_link.text());  // clears the modified flag
}

void DBEdit::writeBack() {
    if (!isModified())
        return;
    m_link.write(text());
    refresh();
}

void DBEdit::editingDone() {
    try {
        writeBack();
    } catch (const SqlError& e) {
        emit writeFailed(e.message());
    }
}

}  // namespace da
