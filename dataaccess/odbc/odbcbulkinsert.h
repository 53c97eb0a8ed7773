#pragma once
// Rows sent with parameter arrays: one prepared INSERT, every column bound as an array,
// many rows per execution (SQL_ATTR_PARAMSET_SIZE).
#include "dataaccess/backend.h"
#include "odbchandle.h"

namespace da::odbc {

// Rows per execution: a round trip carries this many rows.
inline constexpr size_t kArrayRows = 1000;

// Appends the block's rows to table through the connection. Throws SqlError with the
// driver's message when a row is refused.
void insertRowArrays(const OdbcHandle& connection, const QString& table, const RowBlock& rows,
                     size_t arrayRows = kArrayRows);

}  // namespace da::odbc
