#pragma once
// A data-aware combo box: an edit line with a list of choices, showing its field's value
// and writing the text back when the user picks an item or finishes typing.
#include "databinding.h"

#include <QComboBox>

class TDBComboBox : public QComboBox, public DataBinding {
    Q_OBJECT
    Q_PROPERTY(QString dataField READ dataField WRITE setDataField)
public:
    explicit TDBComboBox(QWidget* parent = nullptr);

    // Shows the field's value: the item equal to it selected, or the text alone.
    Q_INVOKABLE void refresh() override;
    // Selects an item by position; -1 (or any position outside the list) selects none
    // and empties the text. Marks the control modified.
    void setItemIndex(int index);
    // Writes the text to the field when it was changed since the last refresh and a table
    // is bound. Throws SqlError.
    void writeBack() { writeIfModified(currentText()); }

signals:
    void writeFailed(const QString& message);
};
