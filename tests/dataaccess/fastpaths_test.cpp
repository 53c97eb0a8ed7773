// The engine's fast paths: each shape of the program takes its path (the log says so),
// and the generic way, with the fast paths switched off, gives the same rows and errors.
#include "dataaccess/embedded/embeddedsession.h"
#include "dataaccess/embedded/fastpaths/fastpaths.h"
#include "embeddedserver.h"

#include <QFile>

namespace da::testing {
namespace {

using embedded::FastPaths;

class FastPathsTest : public EmbeddedServer {
protected:
    void SetUp() override {
        EmbeddedServer::SetUp();
        ASSERT_TRUE(m_files.isValid());
        QFile file(m_files.path() + QStringLiteral("/bv.txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("RegNo,BvMilk,Rank,Note\nh100,1.5,3,a\nH101,-2.25,4,\"b,c\"\nh102,,5,\n103,7,6,d\nCafe,8,7,e\n");
        file.close();
        run(QStringLiteral("CREATE TABLE Main (Serial int PRIMARY KEY, Sabt nvarchar(50), Name nvarchar(20))"));
        run(QStringLiteral("INSERT INTO Main VALUES (1, N'H100', N'a'), (2, N'h101', N'b'), (3, N'103', N'c'), (4, N'CAFE', N'd')"));
        run(QStringLiteral("CREATE TABLE BV (Serial int, RegNo nvarchar(50), BvMilk float, Rank int)"));
    }

    FastPaths& fastPaths() { return dynamic_cast<embedded::EmbeddedSession&>(m_connection.session()).fastPaths(); }

    // The paths the statement took, and its rows affected.
    QStringList taken(const QString& sql, long long* affected = nullptr) {
        fastPaths().clear();
        const ResultSet r = run(sql);
        if (affected) *affected = r.rowsAffected;
        return fastPaths().taken();
    }

    QString fill(const QString& table) const {
        return QStringLiteral("SELECT * INTO %1 FROM OPENROWSET('MSDASQL', 'Driver={Microsoft Text Driver (*.txt; *.csv)};"
                              "DefaultDir={%2};', 'SELECT * FROM [bv.txt];') Rowset_4")
            .arg(table, m_files.path());
    }
    static QString copy(const QString& from) {
        return QStringLiteral("INSERT INTO BV SELECT M.Serial, T.RegNo, T.BvMilk, T.Rank FROM %1 T "
                              "INNER JOIN Main M ON T.RegNo COLLATE Arabic_CI_AI_KS_WS = M.Sabt")
            .arg(from);
    }

    QTemporaryDir m_files;
};

TEST_F(FastPathsTest, TheFillTakesItsPathAndTheGenericWayStoresTheSameRows) {
    long long fast = 0, generic = 0;
    EXPECT_EQ(taken(fill(QStringLiteral("Fast")), &fast), QStringList{FastPaths::kFill});
    fastPaths().setEnabled(false);
    EXPECT_EQ(taken(fill(QStringLiteral("Generic")), &generic), QStringList());
    EXPECT_EQ(fast, 5);
    EXPECT_EQ(generic, fast);
    const QString rows = QStringLiteral("SELECT RegNo, BvMilk, Rank, Note, typeof(BvMilk), typeof(Rank) FROM %1 ORDER BY RegNo");
    EXPECT_EQ(values(rows.arg(QStringLiteral("Generic"))), values(rows.arg(QStringLiteral("Fast"))));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM sqlite_schema WHERE name LIKE 'tsql_rowset%'")).toInt(), 0);
    // Both refuse what the fill does not support, the same way.
    const QString listed = fill(QStringLiteral("Other")).replace(QStringLiteral("SELECT *"), QStringLiteral("SELECT RegNo"));
    const QString refused = errorOf(listed);
    fastPaths().setEnabled(true);
    EXPECT_EQ(errorOf(listed), refused);
}

TEST_F(FastPathsTest, TheCopyTakesTheKeyedJoinAndTheCheckedCopy) {
    run(fill(QStringLiteral("BVTemp")));
    long long affected = 0;
    const QStringList paths = taken(copy(QStringLiteral("dbo.BVTemp")), &affected);
    EXPECT_TRUE(paths.contains(QLatin1String(FastPaths::kKeyedJoin))) << paths.join(u',').toStdString();
    EXPECT_TRUE(paths.contains(QLatin1String(FastPaths::kCheckedCopy))) << paths.join(u',').toStdString();
    const QStringList fast = values(QStringLiteral("SELECT Serial, RegNo, BvMilk, Rank FROM BV ORDER BY Serial"));

    run(QStringLiteral("DELETE FROM BV"));
    fastPaths().setEnabled(false);
    long long genericAffected = 0;
    EXPECT_EQ(taken(copy(QStringLiteral("dbo.BVTemp")), &genericAffected), QStringList());
    EXPECT_EQ(values(QStringLiteral("SELECT Serial, RegNo, BvMilk, Rank FROM BV ORDER BY Serial")), fast);
    EXPECT_EQ(genericAffected, affected);
    // h100 meets H100, H101 h101, 103 itself and Cafe CAFE.
    EXPECT_EQ(fast, (QStringList{"1|h100|1.5|3", "2|H101|-2.25|4", "3|103|7|6", "4|Cafe|8|7"}));
}

TEST_F(FastPathsTest, AnIndexedColumnKeepsTheJoinAsWritten) {
    run(fill(QStringLiteral("BVTemp")));
    run(QStringLiteral("CREATE INDEX MainSabt ON Main (Sabt)"));
    const QStringList paths = taken(QStringLiteral("SELECT M.Serial FROM BVTemp T INNER JOIN Main M ON T.RegNo COLLATE "
                                                   "Latin1_General_CI_AS = M.Sabt"));
    EXPECT_FALSE(paths.contains(QLatin1String(FastPaths::kKeyedJoin))) << paths.join(u',').toStdString();
}

TEST_F(FastPathsTest, BothWaysRefuseAValueThatDoesNotFit) {
    run(QStringLiteral("CREATE TABLE Narrow (Serial int, RegNo nvarchar(3), BvMilk float, Rank tinyint)"));
    run(fill(QStringLiteral("BVTemp")));
    const QString narrow = copy(QStringLiteral("BVTemp")).replace(QStringLiteral("INTO BV"), QStringLiteral("INTO Narrow"));
    const QString fast = errorOf(narrow);
    fastPaths().setEnabled(false);
    EXPECT_EQ(errorOf(narrow), fast);
    EXPECT_EQ(fast, QStringLiteral("String or binary data would be truncated."));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Narrow")).toInt(), 0);
}

TEST_F(FastPathsTest, ACopiedTextFitsByItsCharactersNotItsBytes) {
    run(QStringLiteral("CREATE TABLE Source (Name nvarchar(20))"));
    run(QStringLiteral("CREATE TABLE Target (Name nvarchar(3))"));
    // Three Persian letters are six bytes: they fit; four do not, nor four ASCII letters.
    run(QStringLiteral("INSERT INTO Source VALUES (?)"), {QString::fromUtf16(u"\u0643\u062a\u0627")});
    run(QStringLiteral("INSERT INTO Target SELECT S.Name FROM Source S"));
    EXPECT_EQ(values(QStringLiteral("SELECT Name FROM Target")), QStringList{QString::fromUtf16(u"\u0643\u062a\u0627")});
    for (const QString& longer : {QString::fromUtf16(u"\u0643\u062a\u0627\u0628"), QStringLiteral("abcd")}) {
        run(QStringLiteral("DELETE FROM Source"));
        run(QStringLiteral("INSERT INTO Source VALUES (?)"), {longer});
        EXPECT_EQ(errorOf(QStringLiteral("INSERT INTO Target SELECT S.Name FROM Source S")),
                  QStringLiteral("String or binary data would be truncated."));
    }
    // Trailing blanks beyond the length are dropped, as SQL Server drops them.
    run(QStringLiteral("DELETE FROM Source"));
    run(QStringLiteral("INSERT INTO Source VALUES ('ab    ')"));
    run(QStringLiteral("INSERT INTO Target SELECT S.Name FROM Source S"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Target WHERE Name = 'ab'")).toInt(), 1);
}

}  // namespace
}  // namespace da::testing
