#pragma once
// A data-aware radio group: the field holds the value of the selected button (its entry
// in values(), or its caption when no values are given); a value matching no button
// selects none.
#include "databinding.h"
#include "radiogroup.h"

class TDBRadioGroup : public TRadioGroup, public DataBinding {
    Q_OBJECT
    Q_PROPERTY(QString dataField READ dataField WRITE setDataField)
public:
    explicit TDBRadioGroup(QWidget* parent = nullptr);

    void setValues(const QStringList& values);
    QStringList values() const { return m_values; }

    Q_INVOKABLE void refresh() override;
    // Selects as TRadioGroup does and marks the control modified.
    void setItemIndex(int index);
    // Writes the selected button's value (empty for none) when the selection changed
    // since the last refresh and a table is bound. Throws SqlError.
    void writeBack() { writeIfModified(valueAt(itemIndex())); }

signals:
    void writeFailed(const QString& message);

private:
    QString valueAt(int index) const;

    QStringList m_values;
};
