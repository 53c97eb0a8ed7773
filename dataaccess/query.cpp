#include "query.h"

#include "scopeexit.h"

#include "connection.h"
#include "tsqllexer.h"
#include "platform/ansicodec.h"
#include "sqlerror.h"

namespace da {

namespace {

// The number of parameter markers ("?" or ":name") in a text; quoted texts and names
// do not count.
int countMarkers(const QString& text) {
    try {
        int n = 0;
        for (const Token& t : tokenize(text)) n += t.kind == TokenKind::Param;
        return n;
    } catch (const SqlError&) {
        return 0;  // an unfinished text: the server reports it when it runs
    }
}

}  // namespace

Query::Query(Connection* connection) : m_connection(connection) {}
Query::~Query() = default;

void Query::clearSql() {
    m_lines.clear();
    setParamCount(0);
}

void Query::addSql(const QString& line) {
    m_lines.append(line);
    setParamCount(countMarkers(m_lines.join(u'\n')));
}

void Query::setSql(const QString& text) {
    m_lines = text.split(u'\n');
    for (QString& l : m_lines) {
        if (l.endsWith(u'\r')) l.chop(1);
    }
    setParamCount(countMarkers(text));
}

QString Query::sqlText() const {
    QString s;
    for (const QString& l : m_lines) s += l + QStringLiteral("\r\n");
    return s;
}

void Query::saveSqlToFile(const QString& path) const { plat::saveTextAnsi(path, sqlText()); }

void Query::close() {
    m_open = false;
    m_result = ResultSet();
    m_current.clear();
    m_fields.clear();
    m_row = 0;
}

void Query::prepare() {
    if (!m_connection) throw SqlError(QStringLiteral("Missing Connection or ConnectionString"));
    m_connection->session();  // throws when not connected
}

void Query::open() {
    execute();
    if (!m_open) throw SqlError(QStringLiteral("CommandText does not return a result set"));
}

void Query::execute() {
    prepare();
    close();
    m_executing = true;
    const ScopeExit done([this] { m_executing = false; });
    load(m_connection->session().execute(sqlText(), m_params));
}

void Query::load(ResultSet result) {
    m_result = std::move(result);
    m_open = m_result.hasRows;
    m_current.assign(static_cast<size_t>(m_result.columns.size()), QVariant());
    m_fields.clear();
    m_fields.reserve(m_current.size());
    for (int i = 0; i < m_result.columns.size(); ++i) {
        m_fields.emplace_back(m_result.columns[i], &m_current[static_cast<size_t>(i)]);
    }
    first();
}

bool Query::eof() const { return !m_open || m_row >= static_cast<int>(m_result.rows.size()); }

void Query::first() {
    m_row = 0;
    if (eof()) {
        std::fill(m_current.begin(), m_current.end(), QVariant());
    } else {
        const auto& row = m_result.rows[0];
        std::copy(row.begin(), row.end(), m_current.begin());
    }
}

void Query::next() {
    if (eof()) return;
    ++m_row;
    if (eof()) {
        std::fill(m_current.begin(), m_current.end(), QVariant());
    } else {
        const auto& row = m_result.rows[static_cast<size_t>(m_row)];
        std::copy(row.begin(), row.end(), m_current.begin());
    }
}

bool Query::hasRow() const { return !eof(); }

int Query::recordCount() const { return m_open ? static_cast<int>(m_result.rows.size()) : 0; }

int Query::fieldCount() const { return static_cast<int>(m_fields.size()); }

Field& Query::field(int index) {
    if (index < 0 || index >= fieldCount()) throw SqlError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return m_fields[static_cast<size_t>(index)];
}

Field* Query::findField(const QString& name) {
    for (Field& f : m_fields) {
        if (f.name().compare(name, Qt::CaseInsensitive) == 0) return &f;
    }
    return nullptr;
}

Field& Query::fieldByName(const QString& name) {
    if (Field* f = findField(name)) return *f;
    throw SqlError(QStringLiteral("Field '%1' not found").arg(name));
}

void Query::setParam(int index, const QVariant& v) {
    if (index < 0) throw SqlError(QStringLiteral("List index out of bounds (%1)").arg(index));
    if (index >= paramCount()) setParamCount(index + 1);
    m_params[static_cast<size_t>(index)] = v;
}

QVariant Query::param(int index) const {
    if (index < 0 || index >= paramCount()) throw SqlError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return m_params[static_cast<size_t>(index)];
}

}  // namespace da
