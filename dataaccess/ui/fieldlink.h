#pragma once
// The binding of a data-aware control: a data source (a table or a query) and the name of
// one of its fields. The field is looked up on every use, since a field belongs to the
// current row and moves with it.
#include <QString>

namespace da {

class Field;
class Query;
class Table;

class FieldLink {
public:
    void setSource(Table* table);
    void setSource(Query* query);
    Table* table() const { return m_table; }
    Query* query() const { return m_query; }
    void setFieldName(const QString& name) { m_fieldName = name; }
    const QString& fieldName() const { return m_fieldName; }

    // The bound field of the current row; nullptr when there is no source, no field
    // name, no current row or no field of that name.
    Field* field() const;
    // The field's value as text; empty when there is no field.
    QString text() const;
    // Sets the field from text. A table not yet in insert or edit state is put into edit
    // state first (posting stays with the caller). Throws SqlError, also when nothing is
    // bound.
    void write(const QString& text);

private:
    Table* m_table = nullptr;
    Query* m_query = nullptr;
    QString m_fieldName;
};

}  // namespace da
