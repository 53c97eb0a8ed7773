#include "table.h"

#include "connection.h"
#include "recordfilter.h"
#include "sqlerror.h"
#include "sqlquote.h"

#include <optional>

namespace da {

struct Table::Impl {
    enum class State {
        Browse,
        Edit,
        Insert
    };

    ResultSet data;                // every row of the table as read at open
    std::vector<int> visible;      // rows that pass the filter, in table order
    int pos = 0;                   // index into visible
    std::vector<QVariant> buffer;  // the current row, or the row being edited
    std::vector<Field> fields;
    std::vector<Field::Kind> kinds;
    std::vector<bool> comparable;  // long text columns cannot stand in a WHERE
    bool writable = false;
    State state = State::Browse;
    QStringList key;
    std::unique_ptr<bool[]> assignedFlags;

    int rowIndex() const { return pos < static_cast<int>(visible.size()) ? visible[static_cast<size_t>(pos)] : -1; }

    void loadBuffer() {
        const int r = rowIndex();
        for (size_t c = 0; c < buffer.size(); ++c) {
            buffer[c] = r < 0 ? QVariant() : data.rows[static_cast<size_t>(r)][c];
        }
    }
};

namespace {

QString bareName(const QString& tableName) {
    QString name = tableName.trimmed();
    const int dot = name.lastIndexOf(u'.');
    if (dot >= 0) name = name.mid(dot + 1);
    if (name.startsWith(u'[') && name.endsWith(u']')) name = name.mid(1, name.size() - 2);
    return name;
}


Field::Kind kindOf(const QString& dataType) {
    const QString t = dataType.toLower();
    if (t == QLatin1String("int") || t == QLatin1String("bigint") || t == QLatin1String("smallint") ||
        t == QLatin1String("tinyint") || t == QLatin1String("bit")) {
        return Field::Kind::Integer;
    }
    if (t == QLatin1String("float") || t == QLatin1String("real") || t == QLatin1String("decimal") ||
        t == QLatin1String("numeric") || t == QLatin1String("money") || t == QLatin1String("smallmoney")) {
        return Field::Kind::Float;
    }
    if (t.contains(QLatin1String("char")) || t.contains(QLatin1String("text"))) return Field::Kind::Text;
    return Field::Kind::Any;
}

int columnIndex(const QStringList& columns, const QString& name) {
    for (int i = 0; i < columns.size(); ++i) {
        if (columns[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    }
    return -1;
}

bool sameValue(const QVariant& a, const QVariant& b) {
    const bool an = a.isNull() || !a.isValid();
    const bool bn = b.isNull() || !b.isValid();
    if (an || bn) return an && bn;
    const bool aText = a.typeId() == QMetaType::QString;
    const bool bText = b.typeId() == QMetaType::QString;
    if (aText || bText) return a.toString() == b.toString();
    return a.toDouble() == b.toDouble();
}

}  // namespace

Table::Table(Connection* c, const QString& n) : m_connection(c), m_tableName(n) {}
Table::~Table() { close(); }

void Table::open() {
    close();
    if (!m_connection) throw SqlError(QStringLiteral("Missing Connection or ConnectionString"));
    backend::Session& session = m_connection->session();
    auto impl = std::make_unique<Impl>();
    QString sql = QStringLiteral("SELECT * FROM ") + m_tableName;
    if (!m_serverFilter.trimmed().isEmpty()) sql += QStringLiteral(" WHERE ") + m_serverFilter;
    impl->data = session.execute(sql);
    impl->key = session.primaryKey(m_tableName);
    const int columns = static_cast<int>(impl->data.columns.size());
    impl->kinds.assign(static_cast<size_t>(columns), Field::Kind::Any);
    impl->comparable.assign(static_cast<size_t>(columns), true);
    const ResultSet types = session.execute(
        QStringLiteral("SELECT COLUMN_NAME, DATA_TYPE FROM INFORMATION_SCHEMA.COLUMNS WHERE TABLE_NAME = ") +
        u'N' + sqlString(bareName(m_tableName)));
    for (const auto& row : types.rows) {
        const int c = columnIndex(impl->data.columns, row[0].toString());
        if (c < 0) continue;
        const QString type = row[1].toString().toLower();
        impl->kinds[static_cast<size_t>(c)] = kindOf(type);
        impl->comparable[static_cast<size_t>(c)] =
            type != QLatin1String("text") && type != QLatin1String("ntext") && type != QLatin1String("image");
    }
    impl->buffer.assign(static_cast<size_t>(columns), QVariant());
    impl->assignedFlags = std::make_unique<bool[]>(static_cast<size_t>(std::max(columns, 1)));
    impl->fields.reserve(static_cast<size_t>(columns));
    for (int c = 0; c < columns; ++c) {
        impl->assignedFlags[static_cast<size_t>(c)] = false;
        Field f(impl->data.columns[c], &impl->buffer[static_cast<size_t>(c)]);
        f.setKind(impl->kinds[static_cast<size_t>(c)]);
        f.setWriteGuard(&impl->writable, &impl->assignedFlags[static_cast<size_t>(c)]);
        impl->fields.push_back(std::move(f));
    }
    m_impl = impl.release();
    m_open = true;
    setFiltered(m_filtered);
}

void Table::close() {
    delete m_impl;
    m_impl = nullptr;
    m_open = false;
}

void Table::setFiltered(bool on) {
    m_filtered = on;
    if (!m_impl) return;
    m_impl->visible.clear();
    std::optional<RecordFilter> filter;
    if (on && !m_filter.trimmed().isEmpty()) filter.emplace(m_filter);
    const auto& columns = m_impl->data.columns;
    for (int r = 0; r < static_cast<int>(m_impl->data.rows.size()); ++r) {
        const auto& row = m_impl->data.rows[static_cast<size_t>(r)];
        const bool pass = !filter || filter->matches([&](const QString& name) -> const QVariant* {
            const auto c = columnIndex(columns, name);
            return c < 0 ? nullptr : &row[static_cast<size_t>(c)];
        });
        if (pass) m_impl->visible.push_back(r);
    }
    first();
}

bool Table::locate(const QString& keyFields, const QVariantList& values) {
    if (!m_impl) throw SqlError(QStringLiteral("Cannot perform this operation on a closed dataset"));
    const QStringList names = keyFields.split(u';');
    if (names.size() != values.size()) throw SqlError(QStringLiteral("Locate: key fields and values differ in number"));
    std::vector<int> columns;
    for (const QString& n : names) {
        const auto c = columnIndex(m_impl->data.columns, n.trimmed());
        if (c < 0) throw SqlError(QStringLiteral("Field '%1' not found").arg(n.trimmed()));
        columns.push_back(static_cast<int>(c));
    }
    for (int p = 0; p < static_cast<int>(m_impl->visible.size()); ++p) {
        const auto& row = m_impl->data.rows[static_cast<size_t>(m_impl->visible[static_cast<size_t>(p)])];
        bool all = true;
        for (size_t k = 0; k < columns.size() && all; ++k) {
            all = sameValue(row[static_cast<size_t>(columns[k])], values[static_cast<int>(k)]);
        }
        if (all) {
            cancel();
            m_impl->pos = p;
            m_impl->loadBuffer();
            return true;
        }
    }
    return false;
}

void Table::first() {
    if (!m_impl) throw SqlError(QStringLiteral("Cannot perform this operation on a closed dataset"));
    m_impl->state = Impl::State::Browse;
    m_impl->writable = false;
    m_impl->pos = 0;
    m_impl->loadBuffer();
}

void Table::next() {
    if (!m_impl) throw SqlError(QStringLiteral("Cannot perform this operation on a closed dataset"));
    if (editing()) post();
    if (eof()) return;
    ++m_impl->pos;
    m_impl->loadBuffer();
}

bool Table::eof() const { return !m_impl || m_impl->pos >= static_cast<int>(m_impl->visible.size()); }

int Table::recordCount() const { return m_impl ? static_cast<int>(m_impl->visible.size()) : 0; }

Field& Table::fieldByName(const QString& name) {
    if (!m_impl) throw SqlError(QStringLiteral("Cannot perform this operation on a closed dataset"));
    for (Field& f : m_impl->fields) {
        if (f.name().compare(name, Qt::CaseInsensitive) == 0) return f;
    }
    throw SqlError(QStringLiteral("%1: Field '%2' not found").arg(m_tableName, name));
}

QStringList Table::fieldNames() const { return m_impl ? m_impl->data.columns : QStringList(); }

void Table::insert() {
    if (!m_impl) throw SqlError(QStringLiteral("Cannot perform this operation on a closed dataset"));
    if (editing()) post();
    m_impl->state = Impl::State::Insert;
    m_impl->writable = true;
    std::fill(m_impl->buffer.begin(), m_impl->buffer.end(), QVariant());
    for (size_t c = 0; c < m_impl->buffer.size(); ++c) m_impl->assignedFlags[c] = false;
}

void Table::edit() {
    if (!m_impl) throw SqlError(QStringLiteral("Cannot perform this operation on a closed dataset"));
    if (editing()) return;
    if (eof()) throw SqlError(QStringLiteral("Cannot perform this operation on an empty dataset"));
    m_impl->state = Impl::State::Edit;
    m_impl->writable = true;
    m_impl->loadBuffer();
    for (size_t c = 0; c < m_impl->buffer.size(); ++c) m_impl->assignedFlags[c] = false;
}

// An insert sends the columns that were set; an update sends the changed columns and
// finds its row by the primary key, or by every original value where there is none.
void Table::post() {
    if (!m_impl || !editing()) return;
    Impl& d = *m_impl;
    backend::Session& session = m_connection->session();
    const auto& columns = d.data.columns;
    std::vector<QVariant> params;
    QString sql;
    if (d.state == Impl::State::Insert) {
        QStringList names;
        QStringList marks;
        for (int c = 0; c < columns.size(); ++c) {
            if (!d.assignedFlags[static_cast<size_t>(c)]) continue;
            names << bracketedName(columns[c]);
            marks << QStringLiteral("?");
            params.push_back(d.buffer[static_cast<size_t>(c)]);
        }
        sql = names.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(m_tableName)
                              : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                    .arg(m_tableName, names.join(QLatin1String(", ")), marks.join(QLatin1String(", ")));
        session.execute(sql, params);
        // A key the server numbered itself is read back, so that the new row can be
        // found again for a later update.
        if (d.key.size() == 1) {
            const int k = columnIndex(columns, d.key[0]);
            if (k >= 0 && d.buffer[static_cast<size_t>(k)].isNull()) {
                const ResultSet id = session.execute(QStringLiteral("SELECT @@IDENTITY"));
                if (!id.rows.empty() && !id.rows[0].empty()) d.buffer[static_cast<size_t>(k)] = id.rows[0][0];
            }
        }
        d.data.rows.push_back(d.buffer);
        d.visible.push_back(static_cast<int>(d.data.rows.size()) - 1);
        d.pos = static_cast<int>(d.visible.size()) - 1;
    } else {
        const int r = d.rowIndex();
        const auto& original = d.data.rows[static_cast<size_t>(r)];
        QStringList sets;
        for (int c = 0; c < columns.size(); ++c) {
            if (!d.assignedFlags[static_cast<size_t>(c)]) continue;
            sets << bracketedName(columns[c]) + QStringLiteral(" = ?");
            params.push_back(d.buffer[static_cast<size_t>(c)]);
        }
        if (!sets.isEmpty()) {
            QStringList where;
            for (int c = 0; c < columns.size(); ++c) {
                const bool keyColumn = d.key.contains(columns[c], Qt::CaseInsensitive);
                if (d.key.isEmpty() ? !d.comparable[static_cast<size_t>(c)] : !keyColumn) continue;
                const QVariant& v = original[static_cast<size_t>(c)];
                if (v.isNull() || !v.isValid()) {
                    where << bracketedName(columns[c]) + QStringLiteral(" IS NULL");
                } else {
                    where << bracketedName(columns[c]) + QStringLiteral(" = ?");
                    params.push_back(v);
                }
            }
            sql = QStringLiteral("UPDATE %1 SET %2").arg(m_tableName, sets.join(QLatin1String(", ")));
            if (!where.isEmpty()) sql += QStringLiteral(" WHERE ") + where.join(QLatin1String(" AND "));
            const ResultSet result = session.execute(sql, params);
            if (result.rowsAffected == 0) {
                throw SqlError(QStringLiteral("Row cannot be located for updating. Some values may have been changed "
                                              "since it was last read."));
            }
        }
        d.data.rows[static_cast<size_t>(r)] = d.buffer;
    }
    d.state = Impl::State::Browse;
    d.writable = false;
}

void Table::cancel() {
    if (!m_impl) return;
    m_impl->state = Impl::State::Browse;
    m_impl->writable = false;
    m_impl->loadBuffer();
}

bool Table::editing() const { return m_impl && m_impl->state != Impl::State::Browse; }

}  // namespace da
