#include "keyedtable.h"

#include "dataaccess/sqlerror.h"
#include "dataaccess/sqlquote.h"
#include "dataaccess/embedded/sqlfunctions.h"
#include "dataaccess/embedded/textcollation.h"
#include "dataaccess/tsqllexer.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <sys/mman.h>
#include <functional>
#include <memory>
#include "dataaccess/embedded/preparedstatement.h"
#include <sqlite3.h>
#include <string>
#include <string_view>
#include <vector>

namespace da::embedded {
namespace {

constexpr std::uint32_t kEnd = UINT32_MAX;

// Memory of the hash in huge pages where the system gives them: the probes land at
// random all over it, and with small pages most of them would also miss the TLB.
template <typename T>
struct HugePages {
    using value_type = T;
    static constexpr std::size_t kHuge = std::size_t(2) << 20;
    HugePages() = default;
    template <typename U>
    HugePages(const HugePages<U>&) {}
    T* allocate(std::size_t n) {
        const std::size_t bytes = n * sizeof(T);
        if (bytes < kHuge) {
            if (void* p = std::malloc(bytes))
                return static_cast<T*>(p);
            throw std::bad_alloc();
        }
        void* p = std::aligned_alloc(kHuge, (bytes + kHuge - 1) / kHuge * kHuge);
        if (!p)
            throw std::bad_alloc();
        madvise(p, (bytes + kHuge - 1) / kHuge * kHuge, MADV_HUGEPAGE);
        return static_cast<T*>(p);
    }
    void deallocate(T* p, std::size_t) { std::free(p); }
    template <typename U>
    bool operator==(const HugePages<U>&) const { return true; }
};

std::string quotedName(const std::string& name) { return sqlName(QString::fromStdString(name)).toStdString(); }

// A module argument as written: 'text' with doubled quotes.
std::string dequoted(const char* argument) {
    std::string_view a(argument);
    while (!a.empty() && a.front() == ' ')
        a.remove_prefix(1);
    while (!a.empty() && a.back() == ' ')
        a.remove_suffix(1);
    if (a.size() < 2 || a.front() != '\'' || a.back() != '\'')
        return std::string(a);
    std::string out;
    for (std::size_t i = 1; i + 1 < a.size(); ++i) {
        out += a[i];
        if (a[i] == '\'' && a[i + 1] == '\'')
            ++i;
    }
    return out;
}

// The rows of the table whose key column holds a text, each stored as
//   next row of the same key (offset + 1, or 0) | rowid | key length | key | values
// with a value as a type byte and 8 bytes of a number or 4 of a length and the bytes;
// a hash of the keys points at the first row of each key, rows of a key in rowid order.
class KeyedRows {
public:
    KeyedRows(Folding folding, std::uint64_t columns) : m_folding(folding), m_columns(columns) {}

    std::uint64_t columns() const { return m_columns; }

    // Reads the table: key column first, then the columns of m_columns in order.
    bool read(sqlite3* db, const std::string& table, const std::string& keyColumn,
              const std::vector<std::string>& names, std::string& error) {
        std::string sql = "SELECT rowid, " + quotedName(keyColumn);
        for (std::size_t c = 0; c < names.size(); ++c) {
            if (uses(c))
                sql += ", " + quotedName(names[c]);
        }
        sql += " FROM main." + quotedName(table) + " ORDER BY rowid";
        const PreparedStatement guard = prepareStatement(db, sql.c_str());
        if (!guard) {
            error = sqlite3_errmsg(db);
            return false;
        }
        sqlite3_stmt* stmt = guard.get();
        const int count = sqlite3_column_count(stmt);
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            // NULL and a blob equal no text.
            if (sqlite3_column_type(stmt, 1) != SQLITE_TEXT)
                continue;
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1));
            const std::string key = collationKey(text, sqlite3_column_bytes(stmt, 1), m_folding);
            if (!add(stmt, count, key)) {
                error = "The rows of " + table + " are too large for a hashed join.";
                return false;
            }
        }
        if (rc != SQLITE_DONE) {
            error = sqlite3_errmsg(db);
            return false;
        }
        m_last.clear();
        m_last.shrink_to_fit();
        return true;
    }

    // The first row of the probe's key, or kEnd.
    std::uint32_t find(const char* text, int len) const {
        if (m_slots.empty())
            return kEnd;
        const std::string key = collationKey(text, len, m_folding);
        const std::uint64_t hash = std::hash<std::string_view>()(key);
        for (std::size_t s = hash & (m_slots.size() - 1);; s = (s + 1) & (m_slots.size() - 1)) {
            const std::uint64_t slot = m_slots[s];
            if (slot == 0)
                return kEnd;
            const auto row = static_cast<std::uint32_t>(slot) - 1;
            if ((slot >> 32) == (hash >> 32) && keyOf(row) == key)
                return row;
        }
    }

    std::uint32_t next(std::uint32_t row) const { return load<std::uint32_t>(row) - 1; }
    sqlite3_int64 rowid(std::uint32_t row) const { return load<sqlite3_int64>(row + 4); }

    // The value of column (a position of the table) of a row.
    void result(std::uint32_t row, int column, sqlite3_context* ctx) const {
        const std::string_view key = keyOf(row);
        std::size_t at = static_cast<std::size_t>(key.data() - m_bytes.data()) + key.size();
        for (int c = 0; c < column; ++c) {
            if (uses(static_cast<std::size_t>(c)))
                at = skip(at);
        }
        const char type = m_bytes[at++];
        switch (type) {
        case SQLITE_INTEGER: sqlite3_result_int64(ctx, load<sqlite3_int64>(at)); break;
        case SQLITE_FLOAT: sqlite3_result_double(ctx, load<double>(at)); break;
        case SQLITE_TEXT:
            sqlite3_result_text(ctx, m_bytes.data() + at + 4, static_cast<int>(load<std::uint32_t>(at)), SQLITE_TRANSIENT);
            break;
        case SQLITE_BLOB:
            sqlite3_result_blob(ctx, m_bytes.data() + at + 4, static_cast<int>(load<std::uint32_t>(at)), SQLITE_TRANSIENT);
            break;
        default: sqlite3_result_null(ctx); break;
        }
    }

private:
    bool uses(std::size_t column) const { return column >= 63 ? (m_columns >> 63) != 0 : ((m_columns >> column) & 1) != 0; }

    template <typename T>
    T load(std::size_t at) const {
        T value;
        std::memcpy(&value, m_bytes.data() + at, sizeof value);
        return value;
    }

    template <typename T>
    void store(T value) {
        char raw[sizeof value];
        std::memcpy(raw, &value, sizeof value);
        m_bytes.append(raw, sizeof value);
    }

    std::string_view keyOf(std::uint32_t row) const {
        return std::string_view(m_bytes).substr(row + 16, load<std::uint32_t>(row + 12));
    }

    std::size_t skip(std::size_t at) const {
        const char type = m_bytes[at++];
        if (type == SQLITE_INTEGER || type == SQLITE_FLOAT)
            return at + 8;
        if (type == SQLITE_TEXT || type == SQLITE_BLOB)
            return at + 4 + load<std::uint32_t>(at);
        return at;
    }

    bool add(sqlite3_stmt* stmt, int count, const std::string& key) {
        if (m_bytes.size() + key.size() + 64 >= kEnd)
            return false;
        const auto row = static_cast<std::uint32_t>(m_bytes.size());
        store<std::uint32_t>(0);
        store<sqlite3_int64>(sqlite3_column_int64(stmt, 0));
        store<std::uint32_t>(static_cast<std::uint32_t>(key.size()));
        m_bytes += key;
        for (int c = 2; c < count; ++c) {
            const int type = sqlite3_column_type(stmt, c);
            m_bytes += static_cast<char>(type);
            if (type == SQLITE_INTEGER) {
                store<sqlite3_int64>(sqlite3_column_int64(stmt, c));
            } else if (type == SQLITE_FLOAT) {
                store<double>(sqlite3_column_double(stmt, c));
            } else if (type == SQLITE_TEXT || type == SQLITE_BLOB) {
                const void* data = type == SQLITE_TEXT ? static_cast<const void*>(sqlite3_column_text(stmt, c))
                                                       : sqlite3_column_blob(stmt, c);
                const int size = sqlite3_column_bytes(stmt, c);
                store<std::uint32_t>(static_cast<std::uint32_t>(size));
                m_bytes.append(static_cast<const char*>(data), static_cast<std::size_t>(size));
            }
            if (m_bytes.size() >= kEnd)
                return false;
        }
        link(row, key);
        return true;
    }

    void link(std::uint32_t row, const std::string& key) {
        if (2 * (m_keys + 1) > m_slots.size())
            grow();
        const std::uint64_t hash = std::hash<std::string_view>()(key);
        std::size_t s = hash & (m_slots.size() - 1);
        for (; m_slots[s] != 0; s = (s + 1) & (m_slots.size() - 1)) {
            const auto first = static_cast<std::uint32_t>(m_slots[s]) - 1;
            if ((m_slots[s] >> 32) == (hash >> 32) && keyOf(first) == key) {
                const std::uint32_t linked = row + 1;  // the key's last row links on to this one
                std::memcpy(m_bytes.data() + m_last[s], &linked, sizeof linked);
                m_last[s] = row;
                return;
            }
        }
        m_slots[s] = (hash >> 32 << 32) | (static_cast<std::uint64_t>(row) + 1);
        m_last[s] = row;
        ++m_keys;
    }

    void grow() {
        const std::size_t size = std::max<std::size_t>(64, 2 * m_slots.size());
        std::vector<std::uint64_t, HugePages<std::uint64_t>> wider(size, 0);
        std::vector<std::uint32_t> last(size, 0);
        for (std::size_t old = 0; old < m_slots.size(); ++old) {
            if (m_slots[old] == 0)
                continue;
            const auto first = static_cast<std::uint32_t>(m_slots[old]) - 1;
            std::size_t s = std::hash<std::string_view>()(keyOf(first)) & (size - 1);
            while (wider[s] != 0)
                s = (s + 1) & (size - 1);
            wider[s] = m_slots[old];
            last[s] = m_last[old];
        }
        m_slots = std::move(wider);
        m_last = std::move(last);
    }

    Folding m_folding;
    std::uint64_t m_columns;  // SQLite's mask of the columns used: bit 63 for 63 and on
    std::basic_string<char, std::char_traits<char>, HugePages<char>> m_bytes;
    std::vector<std::uint64_t, HugePages<std::uint64_t>> m_slots;  // hash's upper half | first row + 1; 0 is free
    std::vector<std::uint32_t> m_last;                             // while reading: the last row of the slot's key
    std::size_t m_keys = 0;
};

struct KeyedTable : sqlite3_vtab {
    sqlite3* db = nullptr;
    std::string table;
    std::string keyColumn;
    Folding folding = Folding::CaseInsensitive;
    std::vector<std::string> columns;
};

struct KeyedCursor : sqlite3_vtab_cursor {
    // Read at the first probe and kept while the statement runs: SQLite keeps the
    // cursor open across the rows of the outer table.
    std::unique_ptr<KeyedRows> rows;
    std::uint32_t row = kEnd;
    // The plan's mask of the columns used, read once: it is the same for every probe.
    const char* usedText = nullptr;
    std::uint64_t used = ~std::uint64_t(0);
};

void setError(sqlite3_vtab* vtab, const std::string& message) {
    sqlite3_free(vtab->zErrMsg);
    vtab->zErrMsg = sqlite3_mprintf("%s", message.c_str());
}

// argv: module, database, table name, then the table, its key column and the collation.
int keyedCreate(sqlite3* db, void*, int argc, const char* const* argv, sqlite3_vtab** out, char** error) {
    if (argc != 6) {
        *error = sqlite3_mprintf("tsql_keyed needs a table, a column and a collation");
        return SQLITE_ERROR;
    }
    auto table = std::make_unique<KeyedTable>();
    table->db = db;
    table->table = dequoted(argv[3]);
    table->keyColumn = dequoted(argv[4]);
    const std::string collation = dequoted(argv[5]);
    if (collation == kCollateCiAi) {
        table->folding = Folding::CaseAccentInsensitive;
    } else if (collation != kCollateCi) {
        *error = sqlite3_mprintf("tsql_keyed has no keys for the collation %s", collation.c_str());
        return SQLITE_ERROR;
    }
    // The table's columns as SQLite declares them, so that they compare as the table's.
    std::string declaration = "CREATE TABLE x(";
    const PreparedStatement names = prepareStatement(db, "SELECT name FROM pragma_table_info(?1, 'main') ORDER BY cid");
    if (!names) {
        *error = sqlite3_mprintf("%s", sqlite3_errmsg(db));
        return SQLITE_ERROR;
    }
    sqlite3_stmt* stmt = names.get();
    sqlite3_bind_text(stmt, 1, table->table.c_str(), -1, SQLITE_TRANSIENT);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        const std::string name = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        const char* type = nullptr;
        const char* collate = nullptr;
        if (sqlite3_table_column_metadata(db, "main", table->table.c_str(), name.c_str(), &type, &collate, nullptr,
                                          nullptr, nullptr) != SQLITE_OK) {
            break;
        }
        declaration += quotedName(name) + ' ' + (type ? type : "") + " COLLATE " + quotedName(collate ? collate : "BINARY") + ", ";
        table->columns.push_back(name);
    }
    if (table->columns.empty()) {
        *error = sqlite3_mprintf("no such table: %s", table->table.c_str());
        return SQLITE_ERROR;
    }
    declaration += "\"tsql_keyed$probe\" HIDDEN)";
    const int rc = sqlite3_declare_vtab(db, declaration.c_str());
    if (rc != SQLITE_OK)
        return rc;
    *out = table.release();
    return SQLITE_OK;
}

int keyedDisconnect(sqlite3_vtab* vtab) {
    delete static_cast<KeyedTable*>(vtab);
    return SQLITE_OK;
}

// Usable only with the probe known: it comes from the rows before the table.
int keyedBestIndex(sqlite3_vtab* vtab, sqlite3_index_info* info) {
    const int probe = static_cast<int>(static_cast<KeyedTable*>(vtab)->columns.size());
    int given = -1;
    for (int i = 0; i < info->nConstraint; ++i) {
        const auto& c = info->aConstraint[i];
        if (c.iColumn != probe || c.op != SQLITE_INDEX_CONSTRAINT_EQ)
            continue;
        if (!c.usable)
            return SQLITE_CONSTRAINT;
        given = i;
    }
    if (given < 0)
        return SQLITE_CONSTRAINT;
    info->aConstraintUsage[given].argvIndex = 1;
    info->aConstraintUsage[given].omit = 1;
    info->estimatedCost = 1;
    info->estimatedRows = 1;
    info->idxStr = sqlite3_mprintf("%llx", static_cast<unsigned long long>(info->colUsed));
    info->needToFreeIdxStr = 1;
    return SQLITE_OK;
}

int keyedOpen(sqlite3_vtab*, sqlite3_vtab_cursor** out) {
    *out = new KeyedCursor();
    return SQLITE_OK;
}

int keyedClose(sqlite3_vtab_cursor* cursor) {
    delete static_cast<KeyedCursor*>(cursor);
    return SQLITE_OK;
}

int keyedFilter(sqlite3_vtab_cursor* base, int, const char* used, int argc, sqlite3_value** argv) {
    auto* cursor = static_cast<KeyedCursor*>(base);
    auto* table = static_cast<KeyedTable*>(base->pVtab);
    cursor->row = kEnd;
    if (used != cursor->usedText) {
        cursor->usedText = used;
        cursor->used = used ? std::strtoull(used, nullptr, 16) : ~std::uint64_t(0);
    }
    const std::uint64_t columns = cursor->used;
    if (!cursor->rows || (cursor->rows->columns() & columns) != columns) {
        const std::uint64_t wanted = columns | (cursor->rows ? cursor->rows->columns() : 0);
        auto rows = std::make_unique<KeyedRows>(table->folding, wanted);
        std::string error;
        if (!rows->read(table->db, table->table, table->keyColumn, table->columns, error)) {
            setError(base->pVtab, error);
            return SQLITE_ERROR;
        }
        cursor->rows = std::move(rows);
    }
    // The probe carries the collation: a number cannot.
    const QString error = argc == 1 ? collateError(argv[0]) : QString();
    if (!error.isEmpty()) {
        setError(base->pVtab, error.toStdString());
        return SQLITE_ERROR;
    }
    if (argc == 1 && sqlite3_value_type(argv[0]) == SQLITE_TEXT) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
        cursor->row = cursor->rows->find(text, sqlite3_value_bytes(argv[0]));
    }
    return SQLITE_OK;
}

int keyedNext(sqlite3_vtab_cursor* base) {
    auto* cursor = static_cast<KeyedCursor*>(base);
    cursor->row = cursor->rows->next(cursor->row);
    return SQLITE_OK;
}

int keyedEof(sqlite3_vtab_cursor* base) { return static_cast<KeyedCursor*>(base)->row == kEnd; }

int keyedColumn(sqlite3_vtab_cursor* base, sqlite3_context* ctx, int column) {
    auto* cursor = static_cast<KeyedCursor*>(base);
    if (column >= static_cast<int>(static_cast<KeyedTable*>(base->pVtab)->columns.size()))
        sqlite3_result_null(ctx);
    else
        cursor->rows->result(cursor->row, column, ctx);
    return SQLITE_OK;
}

int keyedRowid(sqlite3_vtab_cursor* base, sqlite3_int64* rowid) {
    auto* cursor = static_cast<KeyedCursor*>(base);
    *rowid = cursor->rows->rowid(cursor->row);
    return SQLITE_OK;
}

sqlite3_module makeModule() {
    sqlite3_module m{};
    m.xCreate = keyedCreate;
    m.xConnect = keyedCreate;
    m.xBestIndex = keyedBestIndex;
    m.xDisconnect = keyedDisconnect;
    m.xDestroy = keyedDisconnect;
    m.xOpen = keyedOpen;
    m.xClose = keyedClose;
    m.xFilter = keyedFilter;
    m.xNext = keyedNext;
    m.xEof = keyedEof;
    m.xColumn = keyedColumn;
    m.xRowid = keyedRowid;
    return m;
}

const sqlite3_module kModule = makeModule();

}  // namespace

void registerKeyedJoin(sqlite3* db) {
    if (sqlite3_create_module_v2(db, "tsql_keyed", &kModule, nullptr, nullptr) != SQLITE_OK)
        throw SqlError(QString::fromUtf8(sqlite3_errmsg(db)));
}

QString createKeyedTableSql(const QString& name, const QString& table, const QString& column, const QString& collation) {
    return QStringLiteral("CREATE VIRTUAL TABLE temp.%1 USING tsql_keyed(%2, %3, %4)")
        .arg(sqlName(name), sqlString(table), sqlString(column), sqlString(collation));
}

}  // namespace da::embedded
