#pragma once
// The breeding centre's file read on this computer, by the rules the server's text driver
// reads it with: the header line, the delimiter, quoting, character sets and column types
// from the schema.ini beside the file, and the type guess from its first rows (25 unless
// schema.ini says otherwise) widened by later values exactly as the driver widens a
// column. The staging table is created with the final types: either the file is gone
// through once for them before its rows are handed over, or the guess is taken as final
// and a later value that would widen a column stops the reading (TypesWiden), so that the
// caller starts again the first way. Most files never widen and are read once.
#include "dataaccess/backend.h"
#include "dataaccess/embedded/textdriver/textdrivervalue.h"

#include <QString>
#include <memory>
#include <vector>

namespace da::embedded {
class TextRecordReader;
class TextRowBatch;
class TextRowPipeline;
class TextSource;
}  // namespace da::embedded

namespace transfer {

struct ClientColumn {
    QString name;
    da::embedded::TextColumnType type = da::embedded::TextColumnType::Text;
    int width = 0;        // Text only; 0: 255
    bool forced = false;  // typed by schema.ini
    // A guessed number column that met text: the line of that value. Integers of the
    // lines before it keep the text the driver gives a stored integer.
    qint64 textFromLine = 0;
};

// Raised by nextRows when the guessed types were taken as final and a value does not fit.
struct TypesWiden {};

class ClientTextFile {
public:
    enum class Types {
        WholeFile,
        Guessed
    };
    // Opens dir/fileName (its name matched as the server matches it); with WholeFile,
    // goes through it once for the final types. Throws da::SqlError worded as the text
    // driver words it.
    ClientTextFile(const QString& dir, const QString& fileName, Types types = Types::WholeFile);
    ~ClientTextFile();
    ClientTextFile(const ClientTextFile&) = delete;
    ClientTextFile& operator=(const ClientTextFile&) = delete;

    const std::vector<ClientColumn>& columns() const { return m_columns; }
    // The rows gone through for the types: all of them with WholeFile.
    long long rowCount() const { return m_rows; }
    // "CREATE TABLE [table] ([col] type, ...)" with the SQL Server types of the columns.
    QString createStatement(const QString& table) const;

    // The next rows, converted to the columns' types, into block (emptied first); false
    // after the last row. Throws da::SqlError naming the line of a value that does not
    // convert to the type schema.ini gives its column, and TypesWiden (Guessed only).
    bool nextRows(da::RowBlock& block);

private:
    void guessTypes();
    void widenThroughRest();
    void startRows();
    void convert(const da::embedded::TextRowBatch& batch, da::RowBlock& block) const;

    QString m_fileName;
    std::vector<ClientColumn> m_columns;
    int m_maxScanRows = 25;
    bool m_header = true;
    bool m_typesFinal = true;  // false: the guess, checked as the rows go
    long long m_rows = 0;
    std::unique_ptr<da::embedded::TextSource> m_source;
    std::unique_ptr<da::embedded::TextRecordReader> m_reader;
    std::unique_ptr<da::embedded::TextRowPipeline> m_pipeline;
    da::embedded::TextRowBatch* m_lent = nullptr;  // the batch converted last, given back on the next call
    std::vector<int> m_integerDigits;              // most digits of an integer met, per column
};

}  // namespace transfer
