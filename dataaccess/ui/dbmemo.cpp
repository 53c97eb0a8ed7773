#include "dbmemo.h"

#include "dataaccess/sqlerror.h"

#include <QTextDocument>

namespace da {

DBMemo::DBMemo(QWidget* parent) : QPlainTextEdit(parent) {}

void DBMemo::setDataSource(Table* table) {
    m_link.setSource(table);
    refresh();
}

void DBMemo::setDataSource(Query* query) {
    m_link.setSource(query);
    refresh();
}

void DBMemo::setDataField(const QString& name) {
    m_link.setFieldName(name);
    refresh();
}

void DBMemo::refresh() {
    QString text = m_link.text();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    setPlainText(text);
    document()->setModified(false);
}

QString DBMemo::fieldText() const {
    // The raw text keeps no-break spaces, which the plain-text view would turn into blanks.
    QString text = document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return text;
}

void DBMemo::writeBack() {
    if (!document()->isModified())
        return;
    m_link.write(fieldText());
    document()->setModified(false);
}

void DBMemo::focusOutEvent(QFocusEvent* event) {
    try {
        writeBack();
    } catch (const SqlError& e) {
        emit writeFailed(e.message());
    }
    QPlainTextEdit::focusOutEvent(event);
}

}  // namespace da
