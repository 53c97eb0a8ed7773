// Rows sent from this computer over ODBC (the SQLite ODBC driver): parameter arrays of
// many rows per execution, one transaction for the whole staging table.
#include "tests/fixtures/qstringprint.h"
#include "app/clientfill.h"
#include "app/clienttextfile.h"
#include "dataaccess/connection.h"
#include "dataaccess/odbc/odbcsession.h"
#include "dataaccess/sqlerror.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace da;

namespace {

class OdbcClientFill : public ::testing::Test {
protected:
    void SetUp() override {
        if (!odbc::registeredDrivers().contains(QStringLiteral("SQLite3")))
            GTEST_SKIP() << "SQLite3 ODBC driver not registered";
        ASSERT_TRUE(m_dir.isValid());
        m_files = m_dir.filePath(QStringLiteral("files/"));
        QDir().mkpath(m_files);
        m_connection.setServer(QStringLiteral("odbc:Driver={SQLite3};Database=") + m_dir.filePath(QStringLiteral("farm.db")));
        m_connection.connect();
    }
    void write(const QString& name, const QByteArray& bytes) {
        QFile file(m_files + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    ResultSet run(const QString& sql, const std::vector<QVariant>& params = {}) {
        return m_connection.session().execute(sql, params);
    }
    QStringList texts(const QString& sql) {
        QStringList out;
        for (const auto& row : run(sql).rows) {
            QStringList values;
            for (const QVariant& v : row)
                values << (v.isNull() ? QStringLiteral("NULL") : v.toString());
            out << values.join(u'|');
        }
        return out;
    }
    bool tableExists(const QString& name) {
        return !run(QStringLiteral("SELECT name FROM sqlite_master WHERE name = ?"), {name}).rows.empty();
    }

    QTemporaryDir m_dir;
    QString m_files;
    Connection m_connection;
};

// A file of n rows: a registration number, a name, an integer and a number with a point.
QByteArray rowsFile(int n) {
    QByteArray text = "RegNo,Name,RankHerdMilk,BvMilk\r\n";
    for (int i = 1; i <= n; ++i)
        text += "h" + QByteArray::number(1000000 + i) + ",cow " + QByteArray::number(i) + "," + QByteArray::number(i) +
                "," + QByteArray::number(i) + ".5\r\n";
    return text;
}

}  // namespace

TEST_F(OdbcClientFill, CreatesTheStagingTableWithTheDriversColumnsAndEveryRow) {
    // More rows than one block of the file and one parameter array hold.
    constexpr int kRows = 5000;
    write("bv.txt", rowsFile(kRows));
    EXPECT_EQ(transfer::fillStagingHere(m_connection, m_files, QStringLiteral("BV.TXT")), kRows);

    EXPECT_EQ(texts(QStringLiteral("SELECT name, lower(type) FROM pragma_table_info('BVTemp') ORDER BY cid")),
              (QStringList{"RegNo|nvarchar(255)", "Name|nvarchar(255)", "RankHerdMilk|int", "BvMilk|float"}));
    EXPECT_EQ(texts(QStringLiteral("SELECT COUNT(*), COUNT(DISTINCT RegNo), SUM(RankHerdMilk), SUM(BvMilk) FROM BVTemp")),
              QStringList{QStringLiteral("%1|%1|%2|%3").arg(kRows).arg(kRows * (kRows + 1LL) / 2).arg(kRows * (kRows + 1LL) / 2 + kRows / 2)});
    EXPECT_EQ(texts(QStringLiteral("SELECT RegNo, Name, RankHerdMilk, BvMilk FROM BVTemp WHERE RankHerdMilk IN (1, 2048, 5000) "
                                   "ORDER BY RankHerdMilk")),
              (QStringList{"h1000001|cow 1|1|1.5", "h1002048|cow 2048|2048|2048.5", "h1005000|cow 5000|5000|5000.5"}));
}

TEST_F(OdbcClientFill, NullsAndPersianTextArriveAsTheDriverStoresThem) {
    const QString persian = QStringLiteral("گاو شيري");
    write("bv.txt", QByteArray("\xEF\xBB\xBF") + ("RegNo,Name,BvMilk\r\nh1," + persian + ",\r\nh2,,7\r\n").toUtf8());
    EXPECT_EQ(transfer::fillStagingHere(m_connection, m_files, QStringLiteral("bv.txt")), 2);
    EXPECT_EQ(texts(QStringLiteral("SELECT RegNo, Name, BvMilk FROM BVTemp ORDER BY RegNo")),
              (QStringList{"h1|" + persian + "|NULL", "h2|NULL|7"}));
}

TEST_F(OdbcClientFill, FailureInTheMiddleLeavesNoStagingTable) {
    // schema.ini types BvMilk as an integer; a row far past the first block breaks it,
    // after thousands of rows have reached the server.
    QByteArray bytes = rowsFile(3000);
    bytes.replace("h1002999,cow 2999,2999,2999.5", "h1002999,cow 2999,2999,not a number");
    write("bv.txt", bytes);
    write("schema.ini", "[bv.txt]\r\nFormat=CSVDelimited\r\nColNameHeader=True\r\nCol4=BvMilk Float\r\n");
    EXPECT_THROW(transfer::fillStagingHere(m_connection, m_files, QStringLiteral("bv.txt")), SqlError);
    EXPECT_FALSE(tableExists(QStringLiteral("BVTemp")));

    // The session is back to a transaction per statement: a table made now stays.
    run(QStringLiteral("CREATE TABLE Later (A INTEGER)"));
    Connection other;
    other.setServer(m_connection.server());
    other.connect();
    EXPECT_FALSE(other.session().execute(QStringLiteral("SELECT name FROM sqlite_master WHERE name = 'Later'")).rows.empty());
}

TEST_F(OdbcClientFill, ARowTheServerRefusesFailsTheFillAndUndoesIt) {
    // A staging table left behind: the fill's CREATE fails and nothing of the file stays.
    run(QStringLiteral("CREATE TABLE BVTemp (Old INTEGER)"));
    run(QStringLiteral("INSERT INTO BVTemp VALUES (1)"));
    write("bv.txt", rowsFile(10));
    EXPECT_THROW(transfer::fillStagingHere(m_connection, m_files, QStringLiteral("bv.txt")), SqlError);
    EXPECT_EQ(texts(QStringLiteral("SELECT * FROM BVTemp")), QStringList{"1"});

    // A refused row inside one parameter array: the whole insert fails.
    run(QStringLiteral("CREATE TABLE Keyed (Id INTEGER PRIMARY KEY, Name TEXT)"));
    RowBlock block;
    block.columns.resize(2);
    block.columns[0].type = RowBlock::Type::Integer;
    block.columns[1].type = RowBlock::Type::Text;
    for (int i = 0; i < 1500; ++i) {
        block.columns[0].integers.push_back(i == 1200 ? 5 : i);
        block.columns[1].addText(std::to_string(i));
        for (auto& c : block.columns)
            c.nulls.push_back(0);
    }
    block.rows = 1500;
    backend::Session& session = m_connection.session();
    session.beginTransaction();
    EXPECT_THROW(session.insertRows(QStringLiteral("Keyed"), block), SqlError);
    session.rollbackTransaction();
    EXPECT_EQ(texts(QStringLiteral("SELECT COUNT(*) FROM Keyed")), QStringList{"0"});
}

TEST_F(OdbcClientFill, UnreadableFilesAreNotReadHere) {
    write("bv.txt", rowsFile(1));
    EXPECT_TRUE(transfer::readableHere(m_files, QStringLiteral("Bv.Txt")));
    EXPECT_FALSE(transfer::readableHere(m_files, QStringLiteral("other.txt")));
    EXPECT_FALSE(transfer::readableHere(m_files + QStringLiteral("none/"), QStringLiteral("bv.txt")));
    EXPECT_FALSE(transfer::readableHere(m_files, QString()));
    QDir().mkpath(m_files + QStringLiteral("folder.txt"));
    EXPECT_FALSE(transfer::readableHere(m_files, QStringLiteral("folder.txt")));
}
