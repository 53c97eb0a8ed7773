// The file read on this computer must give the staging table the server's text driver
// gives it: the same columns, types and values, for every form of file the driver takes,
// and the same refusals. Each file is filled both ways on one embedded server.
#include "app/clientfill.h"
#include "app/clienttextfile.h"
#include "app/transferstatements.h"
#include "dataaccess/connection.h"
#include "dataaccess/query.h"
#include "dataaccess/sqlerror.h"
#include "tests/fixtures/farmserver.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ClientFill : public ::testing::Test {
protected:
    void SetUp() override {
        m_server.createDatabase(QStringLiteral("Farm"));
        m_files = m_dir.path() + QStringLiteral("/");
        m_connection.setServer(m_server.name());
        m_connection.setDatabase(QStringLiteral("Farm"));
        m_connection.connect();
    }
    void write(const QString& name, const QByteArray& bytes) {
        QFile file(m_files + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    void run(const QString& sql) {
        da::Query query(&m_connection);
        query.addSql(sql);
        query.execute();
    }
    // Column names with their types, then every row, as texts.
    QStringList table(const QString& name) {
        QStringList out = m_server.rows(
            QStringLiteral("Farm"),
            QStringLiteral("SELECT COLUMN_NAME, DATA_TYPE, CHARACTER_MAXIMUM_LENGTH FROM INFORMATION_SCHEMA.COLUMNS "
                           "WHERE TABLE_NAME = '%1' ORDER BY ORDINAL_POSITION")
                .arg(name));
        return out + m_server.rows(QStringLiteral("Farm"), QStringLiteral("SELECT * FROM ") + name);
    }
    // The server's own fill: the error's text, or the table.
    QStringList serverFill(const QString& file) {
        try {
            run(transfer::fillStatement(m_files, file).replace(QStringLiteral("INTO  BVTemp"), QStringLiteral("INTO  ServerTemp")));
        } catch (const da::SqlError& e) {
            return {QStringLiteral("error")};
        }
        return table(QStringLiteral("ServerTemp"));
    }
    QStringList clientFill(const QString& file) {
        try {
            transfer::fillStagingHere(m_connection, m_files, file, QStringLiteral("ClientTemp"));
        } catch (const da::SqlError& e) {
            return {QStringLiteral("error")};
        }
        return table(QStringLiteral("ClientTemp"));
    }

    FarmServer m_server;
    QTemporaryDir m_dir;
    QString m_files;
    da::Connection m_connection;
};

QByteArray lines(const QStringList& rows) { return (rows.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8(); }

// A header, 30 rows of the value first and the value late after them.
QByteArray lateValue(const QString& first, const QString& late, const QString& after = QStringLiteral("5")) {
    QStringList rows{QStringLiteral("RegNo,V")};
    rows << QStringLiteral("h1,") + first;
    for (int i = 2; i <= 30; ++i)
        rows << QStringLiteral("h%1,%1").arg(i);
    rows << QStringLiteral("h31,") + late << QStringLiteral("h32,") + after;
    return lines(rows);
}

struct FileCase {
    const char* name;
    QByteArray bytes;
    QByteArray schemaIni;  // beside the file, when not empty
    bool refused = false;  // both ways refuse it
};

}  // namespace

TEST_F(ClientFill, ReadsEveryFileAsTheServersDriverDoes) {
    const FileCase cases[] = {
        {"guessed types, an empty column, quotes", lines({"RegNo,Int,Big,Real,Empty,Name", "h1,1,9999999999,2.5,,\"a, b\"", "h2,-3,4,-0.125,,\"say \"\"hi\"\"\""}), {}},
        {"late 64-bit integer widens int", lateValue(" 7", "99999999999"), {}},
        {"late float widens int", lateValue("7", "2.75"), {}},
        {"late text widens int, earlier integers keep their text", lateValue(" 7", "x", " 8 "), {}},
        {"16-digit integers meeting a float become text", lateValue("1234567890123456", "2.5"), {}},
        {"late text in a float column", lateValue("1.5", "abc"), {}, true},
        {"late 16-digit integer in a float column", lateValue("1.5", "1234567890123456"), {}, true},
        {"values past MaxScanRows=2 widen", lines({"A", "1", "2", "3.5", "4"}), "[f.txt]\r\nMaxScanRows=2\r\n"},
        {"schema.ini types and names columns",
         lines({"007,1.50,yes,Hello", "+8,2,0,x"}),
         "[f.txt]\r\nColNameHeader=False\r\nCol1=Code Integer\r\nCol2=Milk Double\r\nCol3=Ok Bit\r\nCol4=Note Text Width 20\r\n"},
        {"schema.ini type a value breaks", lines({"A", "1", "x"}), "[f.txt]\r\nCol1=A Integer\r\n", true},
        {"semicolons and no header", lines({"1;a", "2;b"}), "[f.txt]\r\nFormat=Delimited(;)\r\nColNameHeader=False\r\n"},
        {"Windows-1256 text", QByteArray("RegNo,Name\r\nh1,\xe4\xc7\xe3\r\n"), {}},
        {"UTF-16 with its mark", QByteArray("\xff\xfeR\0e\0g\0N\0o\0\r\0\n\0h\0001\0\r\0\n\0", 26), {}},
        {"unnamed and padded header names", lines({" A ,,C", "1,2,3"}), {}},
        {"two columns of one name", lines({"A,a", "1,2"}), {}, true},
        {"ragged row", lines({"A,B", "1,2", "3"}), {}, true},
        {"empty file", {}, {}, true},
        {"NUL bytes", QByteArray("A,B\r\n1,\0\r\n", 10), {}, true},
    };
    for (const FileCase& c : cases) {
        QFile::remove(m_files + "schema.ini");
        write(QStringLiteral("f.txt"), c.bytes);
        if (!c.schemaIni.isEmpty())
            write(QStringLiteral("schema.ini"), c.schemaIni);
        run(QStringLiteral("IF OBJECT_ID('ServerTemp') IS NOT NULL DROP TABLE ServerTemp"));
        const QStringList server = serverFill(QStringLiteral("f.txt"));
        const QStringList client = clientFill(QStringLiteral("f.txt"));
        EXPECT_EQ(client, server) << c.name;
        EXPECT_EQ(server == QStringList{"error"}, c.refused) << c.name;
        run(QStringLiteral("IF OBJECT_ID('ClientTemp') IS NOT NULL DROP TABLE ClientTemp"));
    }
}

TEST_F(ClientFill, WidenedColumnTypesAndTheirValues) {
    // The values themselves, beside the comparison above: a fault shared by both readers
    // would pass it.
    write(QStringLiteral("f.txt"), lateValue(" 7", "x", " 8 "));
    const transfer::ClientTextFile file(m_files, QStringLiteral("F.TXT"));
    EXPECT_EQ(file.rowCount(), 32);
    EXPECT_EQ(file.createStatement(QStringLiteral("BVTemp")),
              QStringLiteral("CREATE TABLE [BVTemp] ([RegNo] nvarchar(255), [V] nvarchar(255))"));
    // Taken as final, the first rows' guess (an integer column) stops at the late text.
    transfer::ClientTextFile guessed(m_files, QStringLiteral("f.txt"), transfer::ClientTextFile::Types::Guessed);
    EXPECT_EQ(guessed.createStatement(QStringLiteral("T")), QStringLiteral("CREATE TABLE [T] ([RegNo] nvarchar(255), [V] int)"));
    da::RowBlock block;
    EXPECT_THROW(guessed.nextRows(block), transfer::TypesWiden);
    EXPECT_EQ(transfer::fillStagingHere(m_connection, m_files, QStringLiteral("f.txt")), 32);
    EXPECT_EQ(m_server.rows("Farm", "SELECT V FROM BVTemp WHERE RegNo IN ('h1', 'h30', 'h31', 'h32') ORDER BY RegNo"),
              (QStringList{"7", "30", "x", " 8 "}));
}

TEST_F(ClientFill, AFailedFillLeavesNoTableBehind) {
    // The bad value lies in the second block of rows, after the first reached the server.
    QStringList rows{QStringLiteral("RegNo,V")};
    for (int i = 1; i <= 5000; ++i)
        rows << QStringLiteral("h%1,%1").arg(i);
    rows[4000] = QStringLiteral("h4000,x");
    write(QStringLiteral("f.txt"), lines(rows));
    write(QStringLiteral("schema.ini"), "[f.txt]\r\nCol2=V Integer\r\n");
    EXPECT_THROW(transfer::fillStagingHere(m_connection, m_files, QStringLiteral("f.txt")), da::SqlError);
    EXPECT_TRUE(m_server.rows("Farm", "SELECT name FROM sysobjects WHERE name = 'BVTemp'").isEmpty());
    // The connection is back to a transaction per statement.
    run(QStringLiteral("CREATE TABLE Later (A int)"));
    EXPECT_EQ(m_server.rows("Farm", "SELECT name FROM sysobjects WHERE name = 'Later'"), QStringList{"Later"});
}

namespace {

// Rows 0..n-1: an integer key, a number with every seventh NULL, a Persian text.
da::RowBlock sampleRows(int n, int duplicateAt = -1) {
    da::RowBlock block;
    block.columns.resize(3);
    block.columns[0].type = da::RowBlock::Type::Integer;
    block.columns[1].type = da::RowBlock::Type::Real;
    block.columns[2].type = da::RowBlock::Type::Text;
    for (int i = 0; i < n; ++i) {
        block.columns[0].integers.push_back(i == duplicateAt ? 0 : i);
        block.columns[1].reals.push_back(i + 0.25);
        block.columns[2].addText(QStringLiteral("گاو %1").arg(i).toStdString());
        block.columns[0].nulls.push_back(0);
        block.columns[1].nulls.push_back(i % 7 == 0 ? 1 : 0);
        block.columns[2].nulls.push_back(0);
    }
    block.rows = static_cast<size_t>(n);
    return block;
}

}  // namespace

TEST_F(ClientFill, BulkInsertsOfBothKindsStoreTheSameRows) {
    // The engine's own bulk insert and the statements any server takes (multi-row
    // INSERT .. VALUES with parameters), on more rows than one statement carries.
    run(QStringLiteral("CREATE TABLE Fast (Id int PRIMARY KEY, Milk float, Name nvarchar(50))"));
    run(QStringLiteral("CREATE TABLE Plain (Id int PRIMARY KEY, Milk float, Name nvarchar(50))"));
    da::backend::Session& session = m_connection.session();
    const da::RowBlock rows = sampleRows(2500);
    session.insertRows(QStringLiteral("Fast"), rows);
    session.da::backend::Session::insertRows(QStringLiteral("[dbo].[Plain]"), rows);
    const QStringList fast = m_server.rows("Farm", "SELECT * FROM Fast ORDER BY Id");
    ASSERT_EQ(fast.size(), 2500);
    EXPECT_EQ(fast[7], QStringLiteral("7|NULL|گاو 7"));
    EXPECT_EQ(fast[2498], QStringLiteral("2498|2498.25|گاو 2498"));
    EXPECT_EQ(m_server.rows("Farm", "SELECT * FROM Plain ORDER BY Id"), fast);

    // A refused row deep in a block fails either way; the engine's bulk insert keeps
    // none of the block's rows (the statements keep those before the failing one, which
    // is why the fill runs in a transaction).
    run(QStringLiteral("DELETE FROM Fast"));
    run(QStringLiteral("DELETE FROM Plain"));
    const da::RowBlock refused = sampleRows(2500, 2400);
    EXPECT_THROW(session.insertRows(QStringLiteral("Fast"), refused), da::SqlError);
    EXPECT_THROW(session.da::backend::Session::insertRows(QStringLiteral("Plain"), refused), da::SqlError);
    EXPECT_EQ(m_server.rows("Farm", "SELECT COUNT(*) FROM Fast"), QStringList{"0"});
    session.beginTransaction();
    session.insertRows(QStringLiteral("Fast"), sampleRows(10));
    session.rollbackTransaction();
    EXPECT_EQ(m_server.rows("Farm", "SELECT COUNT(*) FROM Fast"), QStringList{"0"});
}
