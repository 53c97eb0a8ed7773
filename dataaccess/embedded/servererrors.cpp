#include "servererrors.h"

#include "sqlitedb.h"

#include <QRegularExpression>
#include <functional>
#include <sqlite3.h>

namespace da::embedded {
namespace {

QString bareName(QString name) {
    name = name.trimmed();
    if (name.startsWith(QLatin1String("main."))) name = name.mid(5);
    if (name.size() > 1 && name.startsWith(u'"') && name.endsWith(u'"')) name = name.mid(1, name.size() - 2);
    return name;
}

QString lastPart(const QString& name) {
    const int dot = name.lastIndexOf(u'.');
    return dot >= 0 ? name.mid(dot + 1) : name;
}

QString tableOf(const QString& qualified) {
    const int dot = qualified.indexOf(u'.');
    return dot >= 0 ? qualified.left(dot) : qualified;
}

// SQLite's conditions: its message's pattern, and SQL Server's wording from the match.
struct SqliteCondition {
    const char* pattern;
    std::function<QString(const QRegularExpressionMatch& m, int code)> wording;
};

const std::vector<SqliteCondition>& sqliteConditions() {
    static const std::vector<SqliteCondition> conditions{
        {"^no such table: (.+)$",
         [](const auto& m, int) { return QStringLiteral("Invalid object name '%1'.").arg(bareName(m.captured(1))); }},
        {"^no such column: (.+)$",
         [](const auto& m, int) { return QStringLiteral("Invalid column name '%1'.").arg(lastPart(bareName(m.captured(1)))); }},
        {"^(?:table|view|index|trigger) (.+) already exists$",
         [](const auto& m, int) { return objectExists(bareName(m.captured(1))).message(); }},
        {"^UNIQUE constraint failed: (.+)$",
         [](const auto& m, int code) {
             const QString table = tableOf(m.captured(1).trimmed());
             if (code == SQLITE_CONSTRAINT_PRIMARYKEY) {
                 return QStringLiteral("Violation of PRIMARY KEY constraint 'PK_%1'. Cannot insert duplicate key in "
                                       "object 'dbo.%1'.")
                     .arg(table);
             }
             return QStringLiteral("Cannot insert duplicate key row in object 'dbo.%1' with unique index.").arg(table);
         }},
        {"^NOT NULL constraint failed: (.+)$",
         [](const auto& m, int) {
             const QString q = m.captured(1).trimmed();
             return QStringLiteral("Cannot insert the value NULL into column '%1', table 'dbo.%2'; column does not allow "
                                   "nulls. INSERT fails.")
                 .arg(lastPart(q), tableOf(q));
         }},
        {"^too many columns on (.+)$",
         [](const auto& m, int) {
             return QStringLiteral("CREATE TABLE failed because a column in table '%1' exceeds the maximum of %2 columns.")
                 .arg(bareName(m.captured(1)))
                 .arg(SqliteDb::kMaxColumns);
         }},
        {"^near \"(.*)\": syntax error$",
         [](const auto& m, int) { return QStringLiteral("Incorrect syntax near '%1'.").arg(m.captured(1)); }},
        {"incomplete input$", [](const auto&, int) { return QStringLiteral("Incorrect syntax near the end of the statement."); }},
        {"^no such function: (.+)$",
         [](const auto& m, int) { return QStringLiteral("'%1' is not a recognized built-in function name.").arg(m.captured(1)); }},
        {"^wrong number of arguments to function (\\w+)\\(\\)$",
         [](const auto& m, int) { return QStringLiteral("The %1 function requires a different number of arguments.").arg(m.captured(1)); }},
        {"^ambiguous column name: (.+)$",
         [](const auto& m, int) { return QStringLiteral("Ambiguous column name '%1'.").arg(lastPart(m.captured(1))); }},
        {"^no such (view|index|trigger): (.+)$",
         [](const auto& m, int) {
             return QStringLiteral("Cannot drop the %1 '%2', because it does not exist or you do not have permission.")
                 .arg(m.captured(1), bareName(m.captured(2)));
         }},
        {"has \\d+ columns but \\d+ values were supplied|^\\d+ values for \\d+ columns$|^all VALUES must have the same number of terms$",
         [](const auto&, int) { return QStringLiteral("Column name or number of supplied values does not match table definition."); }},
    };
    return conditions;
}

// SQL Server's errors by the start of their wording (or a part of it, where marked).
struct ServerNumbers {
    const char* wording;
    int number;
    const char* sqlState;
    bool anywhere = false;  // the wording may stand anywhere in the message
};

const ServerNumbers kServerNumbers[] = {
    {"Invalid object name", 208, "42S02"},
    {"Invalid column name", 207, "42S22"},
    {"There is already an object named", 2714, "42S01"},
    {"Violation of PRIMARY KEY constraint", 2627, "23000"},
    {"Cannot insert duplicate key row", 2601, "23000"},
    {"Cannot insert the value NULL into column", 515, "23000"},
    {"Cannot insert explicit value for identity column", 544, "23000"},
    {"CREATE TABLE failed because a column", 1702, "42000"},
    {"Incorrect syntax", 102, "42000"},
    {"Unclosed quotation mark", 105, "42000"},
    {"Missing end comment mark", 113, "42000"},
    {"is not a recognized built-in function name", 195, "42000", true},
    {"function requires", 174, "42000", true},
    {"Ambiguous column name", 209, "42000"},
    {"Cannot drop the database", 3701, "42000"},
    {"Cannot drop the", 3701, "42S02"},
    {"Cannot drop database", 3702, "42000"},
    {"Database '", 1801, "42000"},
    {"Column name or number of supplied values", 213, "21S01"},
    {"There are fewer columns in the INSERT statement", 110, "21S01"},
    {"The select list for the INSERT statement", 121, "21S01"},
    {"Column names in each table must be unique", 2705, "42S21"},
    {"Multiple identity columns specified", 2744, "42000"},
    {"ALTER TABLE DROP COLUMN failed", 4924, "42000"},
    {"Cannot find the object", 4701, "42S02"},
    {"Could not find stored procedure", 2812, "42000"},
    {"Procedure or function", 201, "42000"},
    {"Maximum stored procedure, function, trigger, or view nesting level", 217, "42000"},
    {"Must declare the scalar variable", 137, "42000"},
    {"The variable name", 134, "42000"},
    {"Arithmetic overflow error", 8115, "22003"},
    {"Conversion failed when converting", 245, "22018"},
    {"Error converting data type", 8114, "22018"},
    {"String or binary data would be truncated", 8152, "22001"},
    {"Divide by zero error", 8134, "22012"},
    {"Argument data type", 8116, "42000"},
    {"Invalid length parameter passed", 537, "42000"},
    {"Expression type", 447, "42000"},
    {"is invalid in the select list because", 8120, "42000", true},
    {"Cannot release the application lock", 1223, "42000"},
    {"Login failed for user", 18456, "28000"},
    {"Cannot open database", 4060, "42000"},
    {"not supported by the embedded engine", 40515, "42000", true},
    // OPENROWSET's provider reports the text driver's failures.
    {"The text driver", 7399, "42000"},
    {"Text file '", 7399, "42000"},
    {"The list of readable folders", 7399, "42000"},
    {"The server cannot read its list of readable folders", 7399, "42000"},
    {"database is locked", 1222, "HYT00", true},
};

}  // namespace

QString serverMessage(const QString& msg, int extendedCode) {
    for (const SqliteCondition& c : sqliteConditions()) {
        const QRegularExpressionMatch m = QRegularExpression(QLatin1String(c.pattern)).match(msg);
        if (m.hasMatch()) return c.wording(m, extendedCode);
    }
    return msg;
}

SqlError serverError(const QString& message, const QString& statement) {
    for (const ServerNumbers& n : kServerNumbers) {
        const QLatin1String wording(n.wording);
        if (n.anywhere ? message.contains(wording) : message.startsWith(wording))
            return SqlError(message, n.number, QLatin1String(n.sqlState), statement);
    }
    // A failure of the engine itself, SQL Server's "general error".
    return SqlError(message, 50000, QStringLiteral("HY000"), statement);
}

SqlError withServerNumbers(const SqlError& error) {
    if (!error.sqlState().isEmpty()) return error;
    return serverError(error.message(), error.statement());
}

SqlError objectExists(const QString& name) {
    return serverError(QStringLiteral("There is already an object named '%1' in the database.").arg(name));
}

SqlError invalidObject(const QString& name) { return serverError(QStringLiteral("Invalid object name '%1'.").arg(name)); }

SqlError invalidColumn(const QString& name) { return serverError(QStringLiteral("Invalid column name '%1'.").arg(name)); }

}  // namespace da::embedded
