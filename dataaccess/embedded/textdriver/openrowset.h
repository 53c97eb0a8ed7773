#pragma once
// OPENROWSET with the text driver, as the transfer sends it:
//   OPENROWSET('MSDASQL', 'Driver={Microsoft Text Driver (*.txt; *.csv)};DefaultDir=DIR;',
//              'SELECT * FROM [FILE];') Rowset_4
// DIR may be an ODBC value in braces ("}}" for "}"), FILE a bracketed name ("]]" for "]").
#include "dataaccess/embedded/tsqlsyntax.h"

#include <QString>

namespace da::embedded {

struct RowsetSource {
    QString dir;
    QString file;
};

// Reads the rowset whose OPENROWSET word stands at index i, up to the end of span
// (an alias may follow). Throws SqlError for another provider, driver or query.
RowsetSource readOpenRowset(const Tokens& tokens, int i, Span span);

// The value of key in an ODBC connection string of key=value pairs.
QString connectionValue(const QString& text, const QString& key);

}  // namespace da::embedded
