#include "fieldlink.h"

#include "dataaccess/field.h"
#include "dataaccess/query.h"
#include "dataaccess/sqlerror.h"
#include "dataaccess/table.h"

namespace da {

void FieldLink::setSource(Table* table) {
    m_table = table;
    m_query = nullptr;
}

void FieldLink::setSource(Query* query) {
    m_query = query;
    m_table = nullptr;
}

Field* FieldLink::field() const {
    if (m_fieldName.isEmpty())
        return nullptr;
    try {
        if (m_table) {
            if (!m_table->isOpen() || (!m_table->editing() && m_table->eof()))
                return nullptr;
            return &m_table->fieldByName(m_fieldName);
        }
        if (m_query) {
            if (!m_query->active() || !m_query->hasRow())
                return nullptr;
            return m_query->findField(m_fieldName);
        }
    } catch (const SqlError&) {
        // No field of that name: the control shows nothing.
    }
    return nullptr;
}

QString FieldLink::text() const {
    Field* f = field();
    return f ? f->asString() : QString();
}

void FieldLink::write(const QString& text) {
    if (m_table && m_table->isOpen() && !m_table->editing())
        m_table->edit();
    Field* f = field();
    if (!f)
        throw SqlError(QStringLiteral("Field '%1' not found").arg(m_fieldName));
    f->setAsString(text);
}

}  // namespace da
