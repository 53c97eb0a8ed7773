#pragma once
// The field binding that the data-aware controls of forms share: the table and field a
// control shows, and whether the control changed since it last showed the field.
// refresh() shows the field; a change by the user or by code sets the modified flag, and
// the control's writeBack() stores it.
#include "dataaccess/ui/fieldlink.h"

class DataBinding {
public:
    void setDataSource(da::Table* table) {
        m_link.setSource(table);
        refresh();
    }
    void setDataField(const QString& name) {
        m_link.setFieldName(name);
        refresh();
    }
    QString dataField() const { return m_link.fieldName(); }
    bool isModified() const { return m_modified; }
    virtual void refresh() = 0;

protected:
    virtual ~DataBinding() = default;
    // Writes text to the field when the control changed and a table is bound. Throws
    // SqlError.
    void writeIfModified(const QString& text) {
        if (!m_modified || !m_link.table())
            return;
        m_link.write(text);
        m_modified = false;
    }

    da::FieldLink m_link;
    bool m_modified = false;
};
