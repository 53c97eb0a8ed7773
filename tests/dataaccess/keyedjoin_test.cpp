// Joins of a table on a text column under a collation, which the engine answers from a
// hash of the column where no index serves them: the rows must be those of the join
// SQLite answers by itself.
#include "embeddedserver.h"

namespace da::testing {
namespace {

class KeyedJoin : public EmbeddedServer {
protected:
    void SetUp() override {
        EmbeddedServer::SetUp();
        run(QStringLiteral("CREATE TABLE Main (Serial int PRIMARY KEY, Sabt nvarchar(50), Name nvarchar(20), Weight float)"));
        run(QStringLiteral("CREATE TABLE Probe (Id int, RegNo nvarchar(50), Milk float)"));
        run(QStringLiteral("CREATE TABLE Copy (Serial int, RegNo nvarchar(50), Name nvarchar(20), Milk float)"));
        const char16_t* animals[] = {u"abc", u"ABC", u"caf\u00e9", u"CAFE", u"x  ", u"", u"\u0643\u062a\u0627\u0628",
                                     u"\u0643\u064e\u062a\u0627\u0628", u"\u212a", u"\uff21", u"O'Neil"};
        int serial = 0;
        for (const char16_t* sabt : animals) {
            ++serial;
            run(QStringLiteral("INSERT INTO Main VALUES (?, ?, ?, ?)"),
                {serial, QString::fromUtf16(sabt), QStringLiteral("cow%1").arg(serial), serial * 1.5});
        }
        run(QStringLiteral("INSERT INTO Main (Serial) VALUES (99)"));  // no registration number
        const char16_t* probes[] = {u"Abc", u"cafe", u"CAF\u00c9", u"x", u"", u"\u0643\u062a\u0627\u0628 ",
                                    u"k", u"A", u"zzz", u"abc  ", u"o'neil"};
        int id = 0;
        for (const char16_t* regNo : probes) {
            ++id;
            run(QStringLiteral("INSERT INTO Probe VALUES (?, ?, ?)"), {id, QString::fromUtf16(regNo), id * 10.0});
        }
        run(QStringLiteral("INSERT INTO Probe (Id, Milk) VALUES (50, 1)"));
    }

    // Rows left of the statement's own tables.
    QVariant temporaryTables() { return scalar(QStringLiteral("SELECT COUNT(*) FROM sqlite_temp_master WHERE name LIKE 'tsql_keyed%'")); }
};

TEST_F(KeyedJoin, RowsAreThoseOfTheJoinAsWritten) {
    const char* collations[] = {"Arabic_CI_AI_KS_WS", "Latin1_General_CI_AS"};
    const char* shapes[] = {
        "SELECT T.Id, M.Serial, M.Name, M.Weight, T.RegNo FROM Probe T INNER JOIN Main M ON T.RegNo COLLATE %1 = M.Sabt%2",
        "SELECT T.Id, M.Serial, M.Name, M.Weight, T.RegNo FROM dbo.Probe T JOIN dbo.Main AS M ON M.Sabt = T.RegNo COLLATE %1%2",
        "SELECT COUNT(*), SUM(M.Serial) FROM Probe T INNER JOIN Main M ON T.RegNo COLLATE %1 = M.Sabt%2 WHERE M.Weight > 2",
        "SELECT T.Id, M.Serial, M.Name FROM Probe T LEFT JOIN Main M ON T.RegNo COLLATE %1 = M.Sabt%2",
        "SELECT T.Id, T.RegNo FROM Probe T LEFT OUTER JOIN Main M ON T.RegNo COLLATE %1 = M.Sabt%2 WHERE M.Serial IS NULL",
    };
    for (const char* collation : collations) {
        for (const char* shape : shapes) {
            const QString keyed = QString::fromUtf8(shape).arg(QLatin1String(collation), QString()) + QStringLiteral(" ORDER BY 1, 2");
            // A second condition keeps the join as written: SQLite's own automatic index.
            const QString plain = QString::fromUtf8(shape).arg(QLatin1String(collation), QStringLiteral(" AND 1 = 1")) +
                                  QStringLiteral(" ORDER BY 1, 2");
            const QStringList expected = values(plain);
            ASSERT_FALSE(expected.isEmpty()) << plain.toStdString();
            EXPECT_EQ(values(keyed), expected) << keyed.toStdString();
        }
    }
    EXPECT_EQ(temporaryTables().toInt(), 0);
}

TEST_F(KeyedJoin, InsertSelectCopiesEveryMatchOnce) {
    run(QStringLiteral("INSERT INTO Copy SELECT M.Serial, T.RegNo, M.Name, T.Milk FROM Probe T "
                       "INNER JOIN Main M ON T.RegNo COLLATE Arabic_CI_AI_KS_WS = M.Sabt"));
    // Abc and "abc  " meet abc and ABC, cafe and CAFÉ meet café and CAFE, the book with
    // and without its fatha, k the Kelvin sign; A stays apart from the full-width one.
    EXPECT_EQ(values(QStringLiteral("SELECT COUNT(*), COUNT(DISTINCT Serial) FROM Copy")), QStringList{"14|10"});
    EXPECT_EQ(values(QStringLiteral("SELECT Serial, Name, Milk FROM Copy WHERE RegNo = 'o''neil'")), QStringList{"11|cow11|110"});
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Copy WHERE RegNo = 'zzz' OR RegNo IS NULL")).toInt(), 0);
    EXPECT_EQ(temporaryTables().toInt(), 0);
}

TEST_F(KeyedJoin, FailuresAreTheJoinsOwnAndLeaveNothingBehind) {
    // COLLATE on a number is refused as SQL Server refuses it.
    EXPECT_EQ(errorOf(QStringLiteral("SELECT M.Serial FROM Probe T INNER JOIN Main M ON T.Milk COLLATE Arabic_CI_AI_KS_WS = M.Sabt")),
              QStringLiteral("Expression type float is invalid for COLLATE clause."));
    // A failing insert takes back every row it added.
    run(QStringLiteral("CREATE TABLE Strict (Serial int NOT NULL, Name nvarchar(20) NOT NULL)"));
    run(QStringLiteral("UPDATE Main SET Name = NULL WHERE Serial = 11"));
    EXPECT_NE(errorOf(QStringLiteral("INSERT INTO Strict SELECT M.Serial, M.Name FROM Probe T "
                                     "INNER JOIN Main M ON T.RegNo COLLATE Arabic_CI_AI_KS_WS = M.Sabt")),
              QStringLiteral("no error"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Strict")).toInt(), 0);
    EXPECT_EQ(temporaryTables().toInt(), 0);
    // An index under the join's collation serves the join as it is.
    run(QStringLiteral("CREATE INDEX MainSabt ON Main (Sabt)"));
    EXPECT_EQ(values(QStringLiteral("SELECT COUNT(*) FROM Probe T INNER JOIN Main M ON T.RegNo COLLATE Latin1_General_CI_AS = M.Sabt")),
              QStringList{"11"});
}

}  // namespace
}  // namespace da::testing
