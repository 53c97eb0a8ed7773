// The text driver through its public function, on an in-memory database.
#include "textdriverfixture.h"

#include "dataaccess/embedded/textdriver/textdriver.h"
#include "dataaccess/sqlerror.h"

#include <QDir>
#include <QFile>
#include <sqlite3.h>
#include <sys/stat.h>

namespace {

const QString kAli = QStringLiteral(u"\u0639\u0644\u064A");  // a Persian name

QByteArray utf16(const QString& s, bool bigEndian) {
    QByteArray out;
    for (QChar c : s) {
        const char16_t u = c.unicode();
        const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        out += bigEndian ? QByteArray{&hi, 1} + QByteArray{&lo, 1} : QByteArray{&lo, 1} + QByteArray{&hi, 1};
    }
    return out;
}

using Rows = std::vector<QStringList>;

}  // namespace

class TextDriverTest : public TextDriverFixture {};

TEST_F(TextDriverTest, ReadsEveryCharacterSet) {
    const QString text = QStringLiteral("RegNo,Name\r\nh12,") + kAli + QStringLiteral(u"\U0001F404\r\n");
    const QString ansiText = QStringLiteral("RegNo,Name\r\nh12,") + kAli + QStringLiteral("\r\n");
    struct Case {
        const char* name;
        QByteArray bytes;
        QByteArray ini;
        QString name2;
    };
    const Case cases[] = {
        {"ANSI without schema.ini", "RegNo,Name\r\nh12,\xDA\xE1\xED\r\n", {}, kAli},
        {"ANSI named", "RegNo,Name\r\nh12,\xDA\xE1\xED\r\n", "CharacterSet=ANSI", kAli},
        {"OEM", "RegNo,Name\r\nh12,\xE3\xE9\xEF\r\n", "CharacterSet=OEM", kAli},
        {"UTF-8 with BOM", "\xEF\xBB\xBF" + text.toUtf8(), {}, kAli + QStringLiteral(u"\U0001F404")},
        {"UTF-8 named", text.toUtf8(), "CharacterSet=UTF-8", kAli + QStringLiteral(u"\U0001F404")},
        {"UTF-8 BOM beats ANSI", "\xEF\xBB\xBF" + ansiText.toUtf8(), "CharacterSet=ANSI", kAli},
        {"UTF-16 LE with BOM", "\xFF\xFE" + utf16(text, false), {}, kAli + QStringLiteral(u"\U0001F404")},
        {"UTF-16 BE with BOM", "\xFE\xFF" + utf16(text, true), {}, kAli + QStringLiteral(u"\U0001F404")},
        {"Unicode named", utf16(text, false), "CharacterSet=Unicode", kAli + QStringLiteral(u"\U0001F404")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        exec("DROP TABLE IF EXISTS BVTemp");
        write(QStringLiteral("schema.ini"), c.ini.isEmpty() ? QByteArray() : "[bv.txt]\r\n" + c.ini + "\r\n");
        write(QStringLiteral("bv.txt"), c.bytes);
        fill();
        EXPECT_EQ(columns(), QStringList({"RegNo nvarchar(255)", "Name nvarchar(255)"}));
        EXPECT_EQ(rows(), Rows({{"TEXT:h12", "TEXT:" + c.name2}}));
    }
}

TEST_F(TextDriverTest, ReadsEveryKindOfLineEnd) {
    const Rows expected = {{"INT:1", "TEXT:a"}, {"INT:2", "TEXT:b"}};
    const QByteArray files[] = {
        "N,T\r\n1,a\r\n2,b\r\n", "N,T\n1,a\n2,b\n", "N,T\r1,a\r2,b\r", "N,T\r\n1,a\r\n2,b",
        "N,T\n1,a\n\n\r\n2,b\n\n",  // empty lines are no rows
    };
    for (const QByteArray& f : files) {
        SCOPED_TRACE(f.toStdString());
        exec("DROP TABLE IF EXISTS BVTemp");
        write(QStringLiteral("bv.txt"), f);
        fill();
        EXPECT_EQ(rows(), expected);
    }
}

TEST_F(TextDriverTest, QuotedValues) {
    write(QStringLiteral("bv.txt"),
          "\"Reg No\",Note, Trimmed \r\n"
          "\"h1,5\",\"say \"\"hi\"\"\",x\r\n"
          "\"\",\"two\r\nlines\"  ,\"007\"\r\n"
          "a\"b,,\"\"\"\"");
    fill();
    EXPECT_EQ(columns(), QStringList({"Reg No nvarchar(255)", "Note nvarchar(255)", "Trimmed nvarchar(255)"}));
    EXPECT_EQ(rows(), Rows({{"TEXT:h1,5", "TEXT:say \"hi\"", "TEXT:x"},
                            {"NULL", "TEXT:two\r\nlines", "TEXT:007"},
                            {"TEXT:a\"b", "NULL", "TEXT:\""}}));
}

TEST_F(TextDriverTest, GuessesTypesWithoutChangingText) {
    struct Case {
        const char* values;  // the column's values, one per line
        const char* type;
        QStringList stored;
    };
    const Case cases[] = {
        {"1\n-20\n\n300", "int", {"INT:1", "INT:-20", "NULL", "INT:300"}},
        {"2147483648\n1", "bigint", {"INT:2147483648", "INT:1"}},
        {"9223372036854775807\n-9223372036854775808", "bigint", {"INT:9223372036854775807", "INT:-9223372036854775808"}},
        {"12345678901234567890\n1", "nvarchar(255)", {"TEXT:12345678901234567890", "TEXT:1"}},
        {"007\n12", "nvarchar(255)", {"TEXT:007", "TEXT:12"}},
        {"+5\n6", "nvarchar(255)", {"TEXT:+5", "TEXT:6"}},
        {"-0\n6", "nvarchar(255)", {"TEXT:-0", "TEXT:6"}},
        {"1.5\n-2\n3e2", "float", {"REAL:1.5", "REAL:-2", "REAL:300"}},
        {"0.123456789012345\n1", "float", {"REAL:0.123456789012345", "REAL:1"}},
        {"0.1234567890123456\n1", "nvarchar(255)", {"TEXT:0.1234567890123456", "TEXT:1"}},
        {"1.5\n1234567890123456", "nvarchar(255)", {"TEXT:1.5", "TEXT:1234567890123456"}},
        {" 12 \n3", "int", {"INT:12", "INT:3"}},
        {"\n\n", "nvarchar(255)", {"NULL", "NULL", "NULL"}},
        {"h123\n123", "nvarchar(255)", {"TEXT:h123", "TEXT:123"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.values);
        exec("DROP TABLE IF EXISTS BVTemp");
        // A second column keeps the empty values' lines from being empty lines.
        QByteArray file = "V,K\n";
        int k = 0;
        for (const QByteArray& v : QByteArray(c.values).split('\n'))
            file += v + ',' + QByteArray::number(++k) + '\n';
        write(QStringLiteral("bv.txt"), file);
        fill();
        ASSERT_EQ(columns().value(0), QStringLiteral("V ") + c.type);
        QStringList stored;
        for (const QStringList& r : rows())
            stored << r.value(0);
        EXPECT_EQ(stored, c.stored);
    }
}

TEST_F(TextDriverTest, ValueBeyondTheScannedRowsWidensTheColumn) {
    struct Case {
        const char* late;
        const char* type;
        const char* first;
        const char* stored;
    };
    const Case cases[] = {
        {"h12", "nvarchar(255)", "TEXT:5", "TEXT:h12"},
        {"007", "nvarchar(255)", "TEXT:5", "TEXT:007"},
        {"3000000000", "bigint", "INT:5", "INT:3000000000"},
        {"2.5", "float", "REAL:5", "REAL:2.5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.late);
        exec("DROP TABLE IF EXISTS BVTemp");
        // Far enough past the scanned rows that the value arrives amid rows stored together.
        QByteArray file = "V,W\n";
        for (int i = 0; i < 100; ++i)
            file += "5,x\n";
        file += QByteArray(c.late) + ",y\n";
        for (int i = 0; i < 40; ++i)
            file += "6,z\n";
        write(QStringLiteral("bv.txt"), file);
        fill();
        EXPECT_EQ(columns(), QStringList({QStringLiteral("V ") + c.type, "W nvarchar(255)"}));
        const Rows r = rows();
        ASSERT_EQ(r.size(), 141u);
        EXPECT_EQ(r[0][0], c.first);
        EXPECT_EQ(r[99], QStringList({c.first, "TEXT:x"}));
        EXPECT_EQ(r[100], QStringList({c.stored, "TEXT:y"}));
        EXPECT_EQ(r[140][1], "TEXT:z");
    }
}

TEST_F(TextDriverTest, SchemaIniDescribesTheFile) {
    struct Case {
        const char* name;
        QByteArray ini;
        QByteArray file;
        QStringList columns;
        Rows rows;
    };
    const Case cases[] = {
        {"tab delimited", "[BV.TXT]\nFormat=TabDelimited", "A\tB\n1,5\t2\n", {"A nvarchar(255)", "B int"}, {{"TEXT:1,5", "INT:2"}}},
        {"own delimiter", "[bv.txt]\nFormat=Delimited(;)", "A;B\n1;x,y\n", {"A int", "B nvarchar(255)"}, {{"INT:1", "TEXT:x,y"}}},
        {"no header", "[bv.txt]\nColNameHeader=False", "1,x\n2,y\n", {"F1 int", "F2 nvarchar(255)"}, {{"INT:1", "TEXT:x"}, {"INT:2", "TEXT:y"}}},
        {"no header, named", "[bv.txt]\nColNameHeader=False\nCol2=\"Reg No\" Text Width 20", "1,007\n", {"F1 int", "Reg No nvarchar(20)"}, {{"INT:1", "TEXT:007"}}},
        {"forced types", "[bv.txt]\nCol1=RegNo Text\nCol2=Milk Double\nCol3=Ok Bit\nCol4=N Integer", "R,M,O,N\n12,1,True,007\n13,2.5,0,+8\n", {"RegNo nvarchar(255)", "Milk float", "Ok bit", "N int"}, {{"TEXT:12", "REAL:1", "INT:1", "INT:7"}, {"TEXT:13", "REAL:2.5", "INT:0", "INT:8"}}},
        {"scan all rows", "[bv.txt]\nMaxScanRows=0", "V\n1\n2\n1.5\n", {"V float"}, {{"REAL:1"}, {"REAL:2"}, {"REAL:1.5"}}},
        {"scan many rows", "[bv.txt]\nMaxScanRows=5000\nColNameHeader=False", "1\n2.5\n", {"F1 float"}, {{"REAL:1"}, {"REAL:2.5"}}},
        {"other section only", "[other.txt]\nFormat=TabDelimited\nColNameHeader=False\n[bv.txt]\n; comment\nDateTimeFormat=yyyy", "A,B\n1,2\n", {"A int", "B int"}, {{"INT:1", "INT:2"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        exec("DROP TABLE IF EXISTS BVTemp");
        write(QStringLiteral("Schema.INI"), c.ini);
        write(QStringLiteral("bv.txt"), c.file);
        fill();
        EXPECT_EQ(columns(), c.columns);
        EXPECT_EQ(rows(), c.rows);
    }
}

TEST_F(TextDriverTest, HeaderNamesAreTrimmedAndBlankOnesNumbered) {
    write(QStringLiteral("bv.txt"), " RegNo\t,,BvMilk,\n");
    fill();
    EXPECT_EQ(columns(), QStringList({"RegNo nvarchar(255)", "F2 nvarchar(255)", "BvMilk nvarchar(255)", "F4 nvarchar(255)"}));
    EXPECT_TRUE(rows().empty());
}

TEST_F(TextDriverTest, FindsTheFileWhateverItsLetterCase) {
    write(QStringLiteral("BV.Txt"), "A\n1\n");
    fill(QStringLiteral("bv.txt"));
    EXPECT_EQ(rows(), Rows({{"INT:1"}}));
}

TEST_F(TextDriverTest, FillsInsideTheCallersTransaction) {
    write(QStringLiteral("bv.txt"), "A\n1\n");
    exec("BEGIN");
    da::embedded::fillTableFromTextFile(m_db, QStringLiteral("BVTemp"), m_dir.path(), QStringLiteral("bv.txt"));
    EXPECT_EQ(sqlite3_get_autocommit(m_db), 0);
    exec("ROLLBACK");
    EXPECT_EQ(fillError(QStringLiteral("bv.txt")), QString());  // the rollback took the table away
}

TEST_F(TextDriverTest, ErrorsNameTheFileAndTheLine) {
    struct Case {
        const char* name;
        QByteArray bytes;
        QByteArray ini;
        QString expected;  // a part of the message
    };
    const Case cases[] = {
        {"empty file", "", {}, "Text file 'bv.txt': the file is empty"},
        {"only empty lines", "\r\n\r\n", {}, "Text file 'bv.txt': the file is empty"},
        {"fewer values", "A,B\n1,2\n3\n", {}, "Text file 'bv.txt', line 3: the row has 1 values, but the file has 2 columns."},
        {"more values", "A,B\n1,2\n\"x\ny\",2\n3,4,5", {}, "Text file 'bv.txt', line 5: the row has 3 values"},
        {"ragged in the scanned rows", "A,B\n1\n", {}, "line 2: the row has 1 values"},
        {"quote left open", "A\n1\n\"abc\n2\n", {}, "line 3: a quoted value is not closed"},
        {"text after a quote", "A,B\n\"x\"y,2\n", {}, "line 2: text follows the closing quote of value 1."},
        {"NUL byte", QByteArray("A\n1\n2\x00\n", 7), {}, "line 3: the file cannot be read: it holds a NUL character"},
        {"UTF-16 without BOM", QByteArray("A\x00\n\x00", 4), {}, "line 1: the file cannot be read: it holds a NUL character"},
        {"broken UTF-8", "A\n1\n\xDA\xE1\n", "CharacterSet=UTF-8", "line 3: the file cannot be read: its bytes are not UTF-8 text"},
        {"UTF-8 cut short", "A\n\xD8", "CharacterSet=UTF-8", "line 2: the file cannot be read: it ends inside a UTF-8 character"},
        {"float meets text", "V\n1.5\nabc\n", "MaxScanRows=1",
         "line 3: the value 'abc' of column 'V' is not a number, yet the rows before it made the column Float"},
        {"forced integer", "V\nx\n", "Col1=V Integer", "line 2: the value 'x' of column 'V' is not an integer, yet schema.ini types"},
        {"two columns of one name", "RegNo,regno\n", {}, "two columns are named 'regno'"},
        {"schema.ini beyond the columns", "A\n1\n", "Col2=B Text", "schema.ini describes column 2, but the file has 1 columns"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        write(QStringLiteral("schema.ini"), c.ini.isEmpty() ? QByteArray() : "[bv.txt]\n" + c.ini + "\n");
        write(QStringLiteral("bv.txt"), c.bytes);
        const QString message = fillError();
        EXPECT_TRUE(message.contains(c.expected)) << message.toStdString();
        EXPECT_EQ(sqlite3_get_autocommit(m_db), 1);
    }
}

TEST_F(TextDriverTest, MissingFolderOrFileIsNamed) {
    EXPECT_EQ(fillError(QStringLiteral("none.txt")),
              QStringLiteral("The text driver cannot find the file 'none.txt' in folder '%1'.").arg(m_dir.path()));
    const QString missing = m_dir.filePath(QStringLiteral("gone"));
    exec("BEGIN");
    try {
        da::embedded::fillTableFromTextFile(m_db, QStringLiteral("BVTemp"), missing, QStringLiteral("bv.txt"));
        ADD_FAILURE() << "no error";
    } catch (const da::SqlError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("The text driver cannot find the folder '%1'.").arg(missing));
    }
    exec("ROLLBACK");
}

TEST_F(TextDriverTest, FileThatFailsToReadIsNamed) {
    // Reading this file fails with an I/O error at its first byte.
    if (!QFile::link(QStringLiteral("/proc/self/mem"), m_dir.filePath(QStringLiteral("bv.txt"))))
        GTEST_SKIP() << "no /proc/self/mem";
    EXPECT_EQ(fillError(), QStringLiteral("Text file 'bv.txt', line 1: the file cannot be read: reading it failed (Input/output error)."));
}

TEST_F(TextDriverTest, UnreadableFileIsNamed) {
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("bv.txt")));  // a folder where the file should be
    EXPECT_EQ(fillError(), QStringLiteral("Text file 'bv.txt': the file cannot be read: it is a folder, not a regular file."));
    // A FIFO would wait for a writer for ever: refused before anything is read.
    ASSERT_EQ(mkfifo(QFile::encodeName(m_dir.filePath(QStringLiteral("pipe.txt"))).constData(), 0600), 0);
    EXPECT_EQ(fillError(QStringLiteral("pipe.txt")),
              QStringLiteral("Text file 'pipe.txt': the file cannot be read: it is a FIFO, not a regular file."));
    write(QStringLiteral("locked.txt"), "A\n1\n");
    QFile::setPermissions(m_dir.filePath(QStringLiteral("locked.txt")), QFileDevice::WriteOwner);
    if (QFile(m_dir.filePath(QStringLiteral("locked.txt"))).open(QIODevice::ReadOnly))
        GTEST_SKIP() << "running with rights that read any file";
    EXPECT_TRUE(fillError(QStringLiteral("locked.txt")).startsWith(QStringLiteral("Text file 'locked.txt': the file cannot be read: it cannot be opened")));
}

TEST_F(TextDriverTest, SchemaIniEntryItCannotUseIsNamed) {
    write(QStringLiteral("bv.txt"), "A\n1\n");
    write(QStringLiteral("schema.ini"), "[bv.txt]\nFormat=FixedLength\n");
    EXPECT_EQ(fillError(), QStringLiteral("schema.ini, line 2: Format=FixedLength is not CSVDelimited, TabDelimited or Delimited(c)."));
}

TEST_F(TextDriverTest, TextColumnsTakeTheEnginesCollationWhereItIsRegistered) {
    const auto caseInsensitive = [](void*, int la, const void* a, int lb, const void* b) {
        const QByteArray x = QByteArray(static_cast<const char*>(a), la).toLower();
        const QByteArray y = QByteArray(static_cast<const char*>(b), lb).toLower();
        return x < y ? -1 : x == y ? 0
                                   : 1;
    };
    ASSERT_EQ(sqlite3_create_collation(m_db, "TSQL_CI", SQLITE_UTF8, nullptr, caseInsensitive), SQLITE_OK);
    write(QStringLiteral("bv.txt"), "RegNo,N\nh12,1\n");
    fill();
    sqlite3_stmt* s = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(m_db, "SELECT count(*) FROM BVTemp WHERE RegNo = 'H12'", -1, &s, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(s), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(s, 0), 1);
    sqlite3_finalize(s);
}
