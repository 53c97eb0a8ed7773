#include "tsqlfunctions.h"

#include "dataaccess/sqlerror.h"
#include "textcollation.h"
#include "tsqlsyntax.h"

namespace da::embedded {
namespace {

using Result = TsqlFunction::Result;

const TsqlFunction kFunctions[] = {
    {"SUBSTRING", "tsql_substring(%1, %2, %3)", 3, Result::Text},
    {"LEN", "tsql_len(%1)", 1, Result::Number},
    {"UPPER", "tsql_upper(%1)", 1, Result::Text},
    {"LOWER", "tsql_lower(%1)", 1, Result::Text},
    {"ISNULL", "ifnull(%1, %2)", 2, Result::Text},
    {"GETDATE", "tsql_getdate()", 0, Result::Number},
    {"SCOPE_IDENTITY", "last_insert_rowid()", 0, Result::Number},
    {"LTRIM", "ltrim(%1)", 1, Result::Text},
    {"RTRIM", "rtrim(%1)", 1, Result::Text},
    {"COUNT", "count(%1)", 1, Result::Number},
    {"OBJECT_ID", "(SELECT id FROM sysobjects WHERE name = tsql_objectname(%1))", 1, Result::Number},
    {"OBJECTPROPERTY", "tsql_objectproperty(%1, %2)", 2, Result::Number},
    {"CHARINDEX", "instr(%2, %1)", 2, Result::Number, "CHARINDEX with a start position"},
    {"CONVERT", "CAST(%2 AS %1)", 2, Result::Number, "CONVERT with a style", true},
};

}  // namespace

const TsqlFunction* findTsqlFunction(const QString& upperName) {
    for (const TsqlFunction& f : kFunctions) {
        if (upperName == QLatin1String(f.name)) return &f;
    }
    return nullptr;
}

QString tsqlCall(const TsqlFunction& function, const std::vector<QString>& arguments) {
    if (static_cast<int>(arguments.size()) != function.arguments) {
        if (function.otherForm) notSupported(QLatin1String(function.otherForm));
        throw SqlError(QStringLiteral("The %1 function requires %2 argument(s).")
                           .arg(QString::fromLatin1(function.name).toLower())
                           .arg(function.arguments));
    }
    // One pass, so that an argument's own "%1" stays as written.
    QString call;
    for (const char* p = function.sqlite; *p; ++p) {
        if (*p == '%' && p[1] >= '1' && p[1] <= '9') {
            call += arguments[static_cast<size_t>(*++p - '1')];
        } else {
            call += QLatin1Char(*p);
        }
    }
    // Text results compare under the database default, as their argument's column would.
    if (function.result == Result::Text) call += QStringLiteral(" COLLATE ") + QLatin1String(kCollateCi);
    return call;
}

bool isRowsetFunction(const QString& upperName) {
    return upperName == QLatin1String("OPENROWSET") || upperName == QLatin1String("OPENQUERY") ||
           upperName == QLatin1String("OPENDATASOURCE");
}

}  // namespace da::embedded
