#pragma once
// The seam between the data-access objects and the engines behind them. A server name
// of the form "file:DIR" selects the embedded engine; any other name the ODBC one.
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace da {

struct ConnectParams {
    QString server;
    QString database;
    QString user;
    QString password;
    int loginTimeoutSeconds = 15;
};

// A statement's outcome, held whole on the client side. Values are QVariant: null for
// NULL, qlonglong for integers, double for floats, QString for text, QByteArray for
// binary.
struct ResultSet {
    bool hasRows = false;  // the statement returned a result set (possibly empty)
    QStringList columns;
    std::vector<std::vector<QVariant>> rows;
    long long rowsAffected = -1;
};

// Rows of a bulk insert, held by column: every value of a column has the column's type.
// A text column keeps its values' UTF-8 one after the other; a null flag per value
// marks NULL.
struct RowBlock {
    enum class Type {
        Integer,
        Real,
        Text
    };
    struct Column {
        Type type = Type::Text;
        std::vector<qint64> integers;  // Integer
        std::vector<double> reals;     // Real
        std::string text;              // Text: the values' bytes
        std::vector<size_t> textEnds;  // Text: where each value ends in text
        std::vector<char> nulls;       // 1: NULL

        std::string_view textAt(size_t row) const {
            const size_t begin = row == 0 ? 0 : textEnds[row - 1];
            return std::string_view(text).substr(begin, textEnds[row] - begin);
        }
        void addText(std::string_view value) {
            text.append(value);
            textEnds.push_back(text.size());
        }
    };
    std::vector<Column> columns;
    size_t rows = 0;

    // Empties every column and keeps its type and capacity.
    void clear();
};

namespace backend {

class Session {
public:
    virtual ~Session() = default;
    // Runs one statement or a batch as one command. The result is the last result set
    // the command produced (or none). Throws SqlError.
    virtual ResultSet execute(const QString& sql, const std::vector<QVariant>& params = {}) = 0;
    // The values in effect after connecting (the database as the server names it).
    virtual ConnectParams inEffect() const = 0;
    // The server's databases, for the connect dialog.
    virtual QStringList databases() = 0;
    // Primary-key column names of a table in the current database (empty: none).
    virtual QStringList primaryKey(const QString& table) = 0;
    // Options part of the connect string ("Provider=...", "Driver=...").
    virtual QString connectOptions() const = 0;

    // One transaction over several commands. The defaults send T-SQL's own statements.
    virtual void beginTransaction();
    virtual void commitTransaction();
    virtual void rollbackTransaction();
    // Appends the block's rows to the table, whose columns take the block's in order.
    // The default sends multi-row INSERT .. VALUES statements with parameters.
    virtual void insertRows(const QString& table, const RowBlock& rows);
};

// A table name of insertRows as T-SQL writes it: a bare name bracketed, a name with
// brackets or an owner ("[dbo].[BVTemp]", "dbo.BVTemp") as it stands.
QString tableName(const QString& table);

// Opens a session with the engine that the server name selects. Throws SqlError.
std::unique_ptr<Session> openSession(const ConnectParams& params);

}  // namespace backend
}  // namespace da
