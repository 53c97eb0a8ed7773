#pragma once
// The settings table "Dbo.Info": key/value rows grouped by section, found in the client
// by exact, letter-case-significant equality of (GroupSec, KeyName), first match in
// table order. Errors of the data layer pass to the caller.
#include "dataaccess/table.h"

#include <QString>

namespace da {
class Connection;
}

namespace settings {

// The group a section argument stands for: "DEFAULT" for one that is empty after
// trimming characters of code 32 and below, else the section as given.
QString groupOf(const QString& section);

// What the reads answer for a key that has no row.
QString notFoundMarker();

// One reading of the whole table, released with the object. Throws SqlError.
class InfoTable {
public:
    explicit InfoTable(da::Connection* connection);

    // Creates the row or changes its value; the description is written only with a new
    // row, and only when it is not empty. Posted at once.
    void write(const QString& section, const QString& keyName, const QString& keyValue, const QString& description);
    // The row's value (NULL reads as the empty text), or the not-found marker.
    QString read(const QString& section, const QString& keyName);

private:
    bool locate(const QString& section, const QString& keyName);
    da::Table m_table;
};

}  // namespace settings
