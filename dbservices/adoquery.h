#pragma once
// A query in the shape of an ADO query: SQL lines, an ADO connection string and
// parameters by position. It opens itself through the data layer's backends, on a
// connection of its own made from its connection string.
#include "dataaccess/connection.h"
#include "dataaccess/query.h"

#include <QString>
#include <QStringList>
#include <QVariant>

// The prefix that turns the data layer's connect string into an ADO connection string.
QString adoConnectionPrefix();

// The server, database, user and password an ADO connection string names ("Server" or
// "Data Source", "Database" or "Initial Catalog", "User ID" or "UID", "Password" or
// "PWD", keys in any letter case); other keys are the provider's and are left out. A
// value may stand in double or single quotes, with the quote doubled inside.
da::ConnectParams connectParamsOf(const QString& connectionString);

class AdoQuery {
public:
    AdoQuery() = default;
    AdoQuery(const AdoQuery&) = delete;
    AdoQuery& operator=(const AdoQuery&) = delete;

    // The SQL lines; setting them derives the parameter list from the text, as the
    // data layer's query does, and closes the query.
    void setSql(const QStringList& lines);
    QStringList sql() const { return m_query.sqlLines(); }
    QString sqlText() const { return m_query.sqlText(); }

    void setConnectionString(const QString& text);
    QString connectionString() const { return m_connectionString; }

    // Parameters by position. Positions outside the list raise a list-index error.
    int parameterCount() const { return m_query.paramCount(); }
    QVariant parameterValue(int index) const { return m_query.param(index); }
    void setParameterValue(int index, const QVariant& value);

    // Connects as the connection string says (once, or again after it changed) and
    // runs the text; positioned on the first row. Throws SqlError.
    void open();
    void close() { m_query.close(); }
    bool active() const { return m_query.active(); }

    bool eof() const { return m_query.eof(); }
    void first() { m_query.first(); }
    void next() { m_query.next(); }
    int recordCount() const { return m_query.recordCount(); }
    int fieldCount() const { return m_query.fieldCount(); }
    da::Field& field(int index) { return m_query.field(index); }
    da::Field& fieldByName(const QString& name) { return m_query.fieldByName(name); }

private:
    QString m_connectionString;
    da::Connection m_connection;
    da::Query m_query{&m_connection};
};
