#pragma once
#include <QString>
#include <QVariant>

namespace da {

// One column of the current row of a query or table. Owned by its query or table and
// valid until that object moves, closes or is destroyed.
class Field {
public:
    Field(QString name, QVariant* value) : m_name(std::move(name)), m_value(value) {}

    const QString& name() const { return m_name; }
    bool isNull() const;
    const QVariant& value() const;
    // NULL gives ""; floats are written in the general number format.
    QString asString() const;
    // NULL gives 0. Text that is not a number raises SqlError.
    int asInteger() const;
    long long asLargeInt() const;
    double asFloat() const;
    // Writes the field from text (a table's insert or edit buffer).
    void setAsString(const QString& text);
    void setValue(const QVariant& v);
    void setNull();

    // The column's kind, which decides how text is converted when the field is set.
    enum class Kind {
        Any,
        Integer,
        Float,
        Text
    };
    void setKind(Kind kind) { m_kind = kind; }
    Kind kind() const { return m_kind; }
    // A table's fields may be written only while its row is being edited or inserted;
    // writes are allowed while *writable is true (no flag: always).
    void setWriteGuard(const bool* writable, bool* assigned) {
        m_writable = writable;
        m_assigned = assigned;
    }

private:
    void beforeWrite();

    QString m_name;
    QVariant* m_value;
    Kind m_kind = Kind::Any;
    const bool* m_writable = nullptr;
    bool* m_assigned = nullptr;
};

}  // namespace da
