// Placeholder definitions: replaced by the data-access layer.
#include "connection.h"
#include "query.h"
#include "sqlerror.h"
#include "table.h"

namespace da {
namespace {
[[noreturn]] void notYet() { throw SqlError(QStringLiteral("not built yet")); }
}  // namespace
bool Field::isNull() const { notYet(); }
const QVariant& Field::value() const { notYet(); }
QString Field::asString() const { notYet(); }
int Field::asInteger() const { notYet(); }
long long Field::asLargeInt() const { notYet(); }
double Field::asFloat() const { notYet(); }
void Field::setAsString(const QString&) { notYet(); }
void Field::setValue(const QVariant&) { notYet(); }
void Field::setNull() { notYet(); }
Connection::Connection() = default;
Connection::~Connection() = default;
void Connection::connect() { notYet(); }
void Connection::disconnect() { m_session.reset(); }
QString Connection::connectString() const { notYet(); }
backend::Session& Connection::session() { notYet(); }
Query::Query(Connection* c) : m_connection(c) {}
Query::~Query() = default;
void Query::clearSql() { m_lines.clear(); }
void Query::addSql(const QString& line) { m_lines.append(line); }
void Query::setSql(const QString& text) { m_lines = QStringList{text}; }
QString Query::sqlText() const { notYet(); }
void Query::saveSqlToFile(const QString&) const { notYet(); }
void Query::close() {}
void Query::prepare() { notYet(); }
void Query::open() { notYet(); }
void Query::execute() { notYet(); }
bool Query::eof() const { notYet(); }
void Query::first() { notYet(); }
void Query::next() { notYet(); }
bool Query::hasRow() const { notYet(); }
int Query::recordCount() const { notYet(); }
int Query::fieldCount() const { notYet(); }
Field& Query::field(int) { notYet(); }
Field& Query::fieldByName(const QString&) { notYet(); }
Field* Query::findField(const QString&) { notYet(); }
void Query::setParam(int, const QVariant&) { notYet(); }
QVariant Query::param(int) const { notYet(); }
void Query::load(ResultSet) { notYet(); }
Table::Table(Connection* c, const QString& n) : m_connection(c), m_tableName(n) {}
Table::~Table() = default;
void Table::open() { notYet(); }
void Table::close() {}
bool Table::locate(const QString&, const QVariantList&) { notYet(); }
void Table::first() { notYet(); }
void Table::next() { notYet(); }
bool Table::eof() const { notYet(); }
int Table::recordCount() const { notYet(); }
Field& Table::fieldByName(const QString&) { notYet(); }
QStringList Table::fieldNames() const { notYet(); }
void Table::insert() { notYet(); }
void Table::edit() { notYet(); }
void Table::post() { notYet(); }
void Table::cancel() { notYet(); }
bool Table::editing() const { notYet(); }
void Table::setFiltered(bool on) { m_filtered = on; }
}  // namespace da
