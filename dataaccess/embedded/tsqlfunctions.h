#pragma once
// The T-SQL functions the engine knows, one row each: the SQLite call it becomes, how
// many arguments it takes and what kind of value it gives. A new function is a new row
// of the table in tsqlfunctions.cpp (and, when SQLite has none of the same meaning, a
// new tsql_ function in sqlfunctions.cpp).
#include <QString>
#include <vector>

namespace da::embedded {

struct TsqlFunction {
    enum class Result {
        Number,
        Text
    };  // text compares under the database's default collation

    const char* name;    // T-SQL, upper case
    const char* sqlite;  // SQLite's text, %1 .. %n standing for the arguments
    int arguments;
    Result result;
    // Another count of arguments is a form the engine does not support (named so);
    // unset, it is SQL Server's error of a wrong count.
    const char* otherForm = nullptr;
    bool firstIsType = false;  // the first argument is a data type, kept as written
};

// The function of an upper-case name, or nullptr: SQLite's own function of that name
// and meaning, or no function at all.
const TsqlFunction* findTsqlFunction(const QString& upperName);

// The SQLite text of a call: the function's text with the arguments put in. Throws
// SqlError for a wrong count or a form not supported.
QString tsqlCall(const TsqlFunction& function, const std::vector<QString>& arguments);

// The functions that only stand in a FROM clause, refused elsewhere.
bool isRowsetFunction(const QString& upperName);

}  // namespace da::embedded
