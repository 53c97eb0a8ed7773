#pragma once
// A multi-line text bound to a (long text) field of a table or query: shows the whole
// text and writes it back whole when the control loses the focus.
//
// The stored text keeps the Windows line ends: lines are shown as they are and written
// back joined with CR LF.
#include "fieldlink.h"

#include <QPlainTextEdit>

namespace da {

class DBMemo : public QPlainTextEdit {
    Q_OBJECT
    Q_PROPERTY(QString dataField READ dataField WRITE setDataField)
public:
    explicit DBMemo(QWidget* parent = nullptr);

    void setDataSource(Table* table);
    void setDataSource(Query* query);
    void setDataField(const QString& name);
    QString dataField() const { return m_link.fieldName(); }

    Q_INVOKABLE void refresh();
    // The text as it goes to the field (lines joined with CR LF).
    QString fieldText() const;
    // Writes the text to the field when the user changed it. Throws SqlError. The table
    // does not ask its controls before posting: a caller that posts while the focus may
    // still be inside the memo calls this first.
    void writeBack();

signals:
    void writeFailed(const QString& message);

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    FieldLink m_link;
};

}  // namespace da
