#pragma once
// One statement handle on a connection: binds parameters by position, runs a statement
// or batch, and reads its results whole.
#include "dataaccess/backend.h"
#include "odbchandle.h"

#include <QString>
#include <deque>
#include <vector>

namespace da::odbc {

class OdbcStatement {
public:
    explicit OdbcStatement(const OdbcHandle& connection);

    // Runs sql as one command. The result is the last result set of the batch; without
    // one, hasRows is false. rowsAffected is the last count the batch reported.
    ResultSet execute(const QString& sql, const std::vector<QVariant>& params);
    // The key columns of a table, in key order.
    QStringList primaryKeys(const QString& schema, const QString& table);

private:
    struct Parameter {
        QString text;
        qint64 integer = 0;
        double real = 0;
        QByteArray bytes;
        SQLLEN indicator = 0;
    };
    struct Column {
        QString name;
        SQLSMALLINT type = 0;
        SQLSMALLINT digits = 0;
    };

    void bind(const std::vector<QVariant>& params, const QString& sql);
    ResultSet readResultSet(const QString& sql);
    QVariant readValue(SQLUSMALLINT index, const Column& column, const QString& sql);
    QVariant readText(SQLUSMALLINT index, const QString& sql);
    QVariant readBinary(SQLUSMALLINT index, const QString& sql);

    OdbcHandle m_handle;
    std::deque<Parameter> m_parameters;  // stable addresses while bound
};

// ":name" markers outside quoted text, bracketed names and comments become "?"; "?"
// markers stay. "::" and a ":" not followed by a letter or "_" are not markers.
QString positionalMarkers(const QString& sql);

}  // namespace da::odbc
