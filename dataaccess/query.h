#pragma once
#include "backend.h"
#include "field.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

namespace da {

class Connection;

class Query {
public:
    explicit Query(Connection* connection = nullptr);
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    void setConnection(Connection* c) { m_connection = c; }
    Connection* connection() const { return m_connection; }

    // SQL text as lines.
    void clearSql();
    void addSql(const QString& line);
    void setSql(const QString& text);
    QStringList sqlLines() const { return m_lines; }
    // The lines joined, each followed by CR LF.
    QString sqlText() const;
    void saveSqlToFile(const QString& path) const;  // ANSI code page

    void close();
    void prepare();
    // For a statement that returns rows; positioned on the first row.
    void open();
    // Any statement or batch; a result set is open afterwards when there is one.
    void execute();
    bool executing() const { return m_executing; }
    bool active() const { return m_open; }

    // Result set.
    bool eof() const;
    void first();
    void next();
    bool hasRow() const;
    int recordCount() const;
    int fieldCount() const;
    Field& field(int index);
    Field& fieldByName(const QString& name);  // case-insensitive; throws SqlError when absent
    Field* findField(const QString& name);
    long long rowsAffected() const { return m_result.rowsAffected; }

    // Parameters by position ("?" or ":name" markers, in order).
    int paramCount() const { return static_cast<int>(m_params.size()); }
    void setParamCount(int n) { m_params.resize(static_cast<size_t>(n)); }
    void setParam(int index, const QVariant& v);
    QVariant param(int index) const;

private:
    void load(ResultSet result);

    Connection* m_connection = nullptr;
    QStringList m_lines;
    std::vector<QVariant> m_params;
    ResultSet m_result;
    std::vector<QVariant> m_current;
    std::vector<Field> m_fields;
    int m_row = 0;
    bool m_open = false;
    bool m_executing = false;
};

}  // namespace da
