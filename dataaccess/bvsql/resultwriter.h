#pragma once
// A result set as bvsql prints it: a header line of column names, then one line per row,
// values separated by tabs. NULL is empty, real numbers use the general number format,
// binary values are hexadecimal with "0x", and tabs and line breaks inside a value become
// blanks so that every row stays one line.
#include "dataaccess/backend.h"
#include "dataaccess/sqlerror.h"

#include <QString>

namespace bvsql {

QString formatValue(const QVariant& value);
// Empty when the statement returned no result set.
QString formatResult(const da::ResultSet& result);
// The server's message with its native error number and SQLSTATE beside it, where the
// server gave them.
QString formatError(const da::SqlError& error);

}  // namespace bvsql
