#pragma once
// A one-line edit bound to a field of a table or query: shows the field's value and
// writes the typed text back when editing ends (Enter or leaving the control).
//
// Code that knows only QLineEdit (the date check of the toolkit) finds the binding
// through the "dataField" property (empty: not data-aware) and, after setting the field
// itself, makes the control show the new value with
// QMetaObject::invokeMethod(edit, "refresh").
#include "fieldlink.h"

#include <QLineEdit>

namespace da {

class DBEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(QString dataField READ dataField WRITE setDataField)
public:
    explicit DBEdit(QWidget* parent = nullptr);

    void setDataSource(Table* table);
    void setDataSource(Query* query);
    void setDataField(const QString& name);
    QString dataField() const { return m_link.fieldName(); }
    const FieldLink& link() const { return m_link; }

    // Shows the field's current value (after the source moved or the field was set).
    Q_INVOKABLE void refresh();
    // Writes the text to the field when the user changed it. Throws SqlError. A caller
    // that posts while the focus may still be inside the edit calls this first.
    void writeBack();

signals:
    // Writing back after editing failed; the typed text stays for the user to correct.
    void writeFailed(const QString& message);

private:
    void editingDone();

    FieldLink m_link;
};

}  // namespace da
