#pragma once
#include "backend.h"
#include "field.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace da {

class Connection;

// A whole table held on the client side after open; edits are posted row by row.
class Table {
public:
    Table(Connection* connection = nullptr, const QString& tableName = {});
    ~Table();
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    void setConnection(Connection* c) { m_connection = c; }
    Connection* connection() const { return m_connection; }
    void setTableName(const QString& name) { m_tableName = name; }  // "Dbo.Info" accepted
    QString tableName() const { return m_tableName; }

    void open();
    void close();
    bool isOpen() const { return m_open; }

    // Key fields "A" or "A;B"; values in the same order. Exact and case-sensitive.
    bool locate(const QString& keyFields, const QVariantList& values);
    void first();
    void next();
    bool eof() const;
    int recordCount() const;
    Field& fieldByName(const QString& name);
    QStringList fieldNames() const;

    void insert();
    void edit();
    void post();  // throws SqlError; the row stays in edit state on failure
    void cancel();
    bool editing() const;

    // Client-side filter (a condition over the held rows) with its switch.
    void setFilter(const QString& filterText) { m_filter = filterText; }
    QString filter() const { return m_filter; }
    void setFiltered(bool on);
    bool filtered() const { return m_filtered; }
    // Server-side filter: a WHERE condition applied when the table is opened.
    void setServerFilter(const QString& condition) { m_serverFilter = condition; }
    QString serverFilter() const { return m_serverFilter; }

private:
    struct Impl;
    Connection* m_connection = nullptr;
    QString m_tableName;
    QString m_filter;
    QString m_serverFilter;
    bool m_filtered = false;
    bool m_open = false;
    Impl* m_impl = nullptr;
};

}  // namespace da
