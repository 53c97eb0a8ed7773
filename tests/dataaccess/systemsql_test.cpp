// Every SQL text the system sends, run on the embedded engine against small fixture
// databases, with the results SQL Server gives.
#include "dataaccess/embedded/textdriver/textdriver.h"
#include "embeddedserver.h"

#include <QDir>
#include <QFile>

namespace da::testing {
namespace {

// The counted form the statement runner sends for a SELECT: the column list between
// SELECT and the first FROM goes into Count( ).
QString counted(const QString& select) {
    const int from = select.toUpper().indexOf(QLatin1String("FROM"));
    const QString columns = from < 0 ? select.mid(6) : select.mid(6, from - 6);
    const QString rest = from < 0 ? QString() : select.mid(from);
    return QStringLiteral("Select Count(") + columns + QStringLiteral(") As Res ") + QStringLiteral(" ") + rest;
}

QString quotedName(QString name) { return u'\'' + name.replace(u'\'', QLatin1String("''")) + u'\''; }

const char* kBvTable =
    "CREATE TABLE BV (Serial int NOT NULL, BVDate nvarchar(10), RegNo nvarchar(50), BP float, BvMilk float, "
    "BvFat float, BvFatPercent float, RankTotalMilk int, RankTotalFat int, RankHerdMilk int, RankHerdFat int, "
    "BV1M float, BV1F float)";

const char* kUpgrade =
    "ALTER TABLE [dbo].[BV] ADD [PeriodCount] float ,[BvPro] float ,[BvProPercent] float ,[RankTotalPro] float "
    ",[RankHerdPro] float ,[MilkME_Avg] float ,[FatME_Avg] float ,[FatPerME_Avg] float ,[ProME_Avg] float "
    ",[ProPerME_Avg] float ,[CalveDistance_Avg] float ";

class SystemSql : public EmbeddedServer {
protected:
    void SetUp() override {
        EmbeddedServer::SetUp();
        run(QStringLiteral("CREATE TABLE Main (Serial int PRIMARY KEY, Sabt nvarchar(50))"));
        run(QLatin1String(kBvTable));
    }

    int count(const QString& select) { return scalar(counted(select)).toInt(); }

    bool isFieldExist(const QString& table, const QString& field) {
        return count(QStringLiteral("SELECT * FROM INFORMATION_SCHEMA.COLUMNS WHERE TABLE_NAME = ") + quotedName(table) +
                     QStringLiteral("AND  COLUMN_NAME = ") + quotedName(field)) > 0;
    }
    bool isTableExist(const QString& table) {
        return count(QStringLiteral("SELECT  * FROM  INFORMATION_SCHEMA.TABLES Where (Table_Name = ") +
                     quotedName(table) + QStringLiteral(") And Table_Type='BASE TABLE' ")) > 0;
    }
    bool isViewExist(const QString& view) {
        return count(QStringLiteral("SELECT  * FROM  INFORMATION_SCHEMA.TABLES Where (Table_Name = ") +
                     quotedName(view) + QStringLiteral(") And Table_Type='VIEW' ")) > 0;
    }
    bool isDataBaseExist(const QString& db) {
        return count(QStringLiteral("select * from Master.Dbo.sysdatabases where Name=(N") + quotedName(db) +
                     QStringLiteral(") ")) > 0;
    }
    bool isSpExist(const QString& sp) {
        return count(QStringLiteral("select * from dbo.sysobjects where id = object_id(N") + quotedName(sp) +
                     QStringLiteral(") and OBJECTPROPERTY(id, N'IsProcedure') = 1")) > 0;
    }
    void dropViewSafe(const QString& view) {
        run(QStringLiteral("if exists (SELECT *  FROM  INFORMATION_SCHEMA.TABLES WHERE  (Table_Type = 'View') And "
                           "Table_Name =") +
            quotedName(view) + QStringLiteral(")  drop view [dbo].[") + view +
            QStringLiteral("]"));
    }

    // The transfer's steps 3 and 4 with today's date T.
    void repairRegNo() {
        run(QStringLiteral("UPDATE  BVTemp SET RegNo = SUBSTRING(RegNo, 2, 100) Where SUBSTRING(RegNo, 1, 1)='h'"));
    }
    void copyIntoBv(const QString& today) {
        run(QStringLiteral("INSERT INTO BV SELECT     M.Serial, ") + quotedName(today) +
            QStringLiteral(", T.RegNo, NULL AS BP, T.BvMilk, T.BvFat, T.BvFatPercent, T.RankTotalMilk, T.RankTotalFat, "
                           "T.RankHerdMilk, T.RankHerdFat, NULL ") +
            QStringLiteral(" AS BV1M, NULL AS BV1F, T.PeriodCount, T.BvPro, T.BvProPercent, T.RankTotalPro, "
                           "T.RankHerdPro, T.MilkME_Avg, T.FatME_Avg, T.FatPerME_Avg, T.ProME_Avg, ") +
            QStringLiteral(" T.ProPerME_Avg, T.CalveDistance_Avg FROM  dbo.BVTemp T INNER JOIN dbo.Main M ON T.RegNo "
                           "COLLATE Arabic_CI_AI_KS_WS = M.Sabt"));
    }
    void createStaging(const QString& regNoType = QStringLiteral("nvarchar(255)")) {
        run(QStringLiteral("CREATE TABLE BVTemp (RegNo %1, BvMilk float, BvFat float, BvFatPercent float, "
                           "RankTotalMilk int, RankTotalFat int, RankHerdMilk int, RankHerdFat int, PeriodCount int, "
                           "BvPro float, BvProPercent float, RankTotalPro int, RankHerdPro int, MilkME_Avg float, "
                           "FatME_Avg float, FatPerME_Avg float, ProME_Avg float, ProPerME_Avg float, "
                           "CalveDistance_Avg float, Extra nvarchar(20))")
                .arg(regNoType));
    }
    void stage(const QString& regNo, double milk) {
        run(QStringLiteral("INSERT INTO BVTemp (RegNo, BvMilk, BvFat, PeriodCount, CalveDistance_Avg) "
                           "VALUES (?, ?, 1.5, 3, 400.5)"),
            {regNo, milk});
    }
};

TEST_F(SystemSql, CountedFormsAsSqlServerCountsThem) {
    run(QStringLiteral("INSERT INTO Main VALUES (1, 'a'), (2, 'A'), (3, 'b'), (4, NULL), (11, 'c')"));
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM Main WHERE Serial > 10")), 1);
    EXPECT_EQ(scalar(QStringLiteral("Select Count( * ) As Res  FROM Main WHERE Serial > 10")).toInt(), 1);
    // DISTINCT compares under the database's case-insensitive default.
    EXPECT_EQ(scalar(QStringLiteral("Select Count( DISTINCT Sabt ) As Res  FROM Main")).toInt(), 3);
    EXPECT_EQ(count(QStringLiteral("select * from main where sabt = 'A'")), 2);
    const QString refused[] = {
        QStringLiteral("Select Count() As Res   1"),
        QStringLiteral("Select Count( Serial, Sabt ) As Res  FROM Main"),
        counted(QStringLiteral("SELECT ValidFrom FROM Main")),
    };
    for (const QString& sql : refused) EXPECT_NE(errorOf(sql), QStringLiteral("no error")) << sql.toStdString();
    EXPECT_EQ(errorOf(QStringLiteral("Select Count() As Res   1")), QStringLiteral("The count function requires 1 argument(s)."));
    const ResultSet none = run(QStringLiteral("UPDATE Main SET Sabt = 'x' WHERE Serial = 99"));
    EXPECT_EQ(none.rowsAffected, 0);
}

TEST_F(SystemSql, SchemaProbes) {
    EXPECT_TRUE(isFieldExist(QStringLiteral("BV"), QStringLiteral("RegNo")));
    EXPECT_TRUE(isFieldExist(QStringLiteral("bv"), QStringLiteral("REGNO")));
    EXPECT_FALSE(isFieldExist(QStringLiteral("BV"), QStringLiteral("CalveDistance_Avg")));
    EXPECT_FALSE(isFieldExist(QStringLiteral("Nothing"), QStringLiteral("RegNo")));

    run(QStringLiteral("CREATE TABLE [O'Brien] (A int)"));
    run(QStringLiteral("CREATE VIEW Herd AS SELECT Serial FROM Main"));
    EXPECT_TRUE(isTableExist(QStringLiteral("BV")));
    EXPECT_TRUE(isTableExist(QStringLiteral("O'Brien")));
    EXPECT_FALSE(isTableExist(QStringLiteral("BVTemp")));
    EXPECT_FALSE(isTableExist(QStringLiteral("Herd")));
    EXPECT_TRUE(isViewExist(QStringLiteral("Herd")));
    EXPECT_FALSE(isViewExist(QStringLiteral("BV")));

    EXPECT_TRUE(isDataBaseExist(QStringLiteral("Farm")));
    EXPECT_TRUE(isDataBaseExist(QStringLiteral("FARM")));
    EXPECT_TRUE(isDataBaseExist(QStringLiteral("master")));
    EXPECT_FALSE(isDataBaseExist(QStringLiteral("Masters")));

    run(QStringLiteral("CREATE PROCEDURE [_AutoCompute_Herd] As Begin Select 1 AS One Into [_Herd] End"));
    EXPECT_TRUE(isSpExist(QStringLiteral("_AutoCompute_Herd")));
    EXPECT_TRUE(isSpExist(QStringLiteral("dbo._autocompute_herd")));
    EXPECT_FALSE(isSpExist(QStringLiteral("BV")));
    EXPECT_FALSE(isSpExist(QStringLiteral("Missing")));

    dropViewSafe(QStringLiteral("Herd"));
    EXPECT_FALSE(isViewExist(QStringLiteral("Herd")));
    EXPECT_NO_THROW(dropViewSafe(QStringLiteral("Herd")));
    dropViewSafe(QStringLiteral("BV"));  // a table of that name is not a view
    EXPECT_TRUE(isTableExist(QStringLiteral("BV")));
}

TEST_F(SystemSql, UpgradeAddsElevenColumnsOnceAndAllOrNone) {
    run(QLatin1String(kUpgrade));
    EXPECT_TRUE(isFieldExist(QStringLiteral("BV"), QStringLiteral("CalveDistance_Avg")));
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM INFORMATION_SCHEMA.COLUMNS WHERE TABLE_NAME = 'BV'")), 24);
    EXPECT_EQ(scalar(QStringLiteral("SELECT ORDINAL_POSITION FROM INFORMATION_SCHEMA.COLUMNS WHERE TABLE_NAME = 'BV' "
                                    "AND COLUMN_NAME = 'PeriodCount'"))
                  .toInt(),
              14);
    EXPECT_EQ(scalar(QStringLiteral("SELECT DATA_TYPE FROM INFORMATION_SCHEMA.COLUMNS WHERE TABLE_NAME = 'BV' "
                                    "AND COLUMN_NAME = 'CalveDistance_Avg'"))
                  .toString(),
              QStringLiteral("float"));
    EXPECT_EQ(errorOf(QLatin1String(kUpgrade)),
              QStringLiteral("Column names in each table must be unique. Column name 'PeriodCount' in table 'BV' is "
                             "specified more than once."));

    // Some of the eleven already there: the statement fails and adds none.
    run(QStringLiteral("DROP TABLE BV"));
    run(QLatin1String(kBvTable));
    run(QStringLiteral("ALTER TABLE BV ADD [ProME_Avg] float"));
    EXPECT_NE(errorOf(QLatin1String(kUpgrade)), QStringLiteral("no error"));
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM INFORMATION_SCHEMA.COLUMNS WHERE TABLE_NAME = 'BV'")), 14);

    run(QStringLiteral("DROP TABLE BV"));
    EXPECT_NE(errorOf(QLatin1String(kUpgrade)), QStringLiteral("no error"));
}

TEST_F(SystemSql, TransferRepairsAndCopiesMatchedRows) {
    run(QLatin1String(kUpgrade));
    run(QStringLiteral("INSERT INTO Main VALUES (1, '1001'), (2, 'ab12'), (3, ?), (4, '9999'), (5, '7777')"),
        {QStringLiteral("\u0643\u062a\u0627\u0628")});
    EXPECT_FALSE(isTableExist(QStringLiteral("BVTemp")));
    createStaging();
    stage(QStringLiteral("h1001"), 10.5);
    stage(QStringLiteral("HAB12"), 11);
    stage(QStringLiteral("\u0643\u064e\u062a\u0627\u0628"), 12);  // with a fatha: equal accent-insensitively
    stage(QStringLiteral("5555"), 13);                            // no animal
    stage(QStringLiteral("7777  "), 14);                          // trailing blanks do not count
    repairRegNo();
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM BVTemp WHERE RegNo = '1001'")), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM BVTemp WHERE RegNo = 'ab12'")), 1);  // H removed too
    copyIntoBv(QStringLiteral("1403/05/01"));
    const ResultSet bv = run(QStringLiteral("SELECT * FROM BV ORDER BY Serial"));
    // Texts equal under the collation but of other lengths joined as well (SQLite's
    // Bloom filter once dropped them).
    ASSERT_EQ(bv.rows.size(), 4u);
    ASSERT_EQ(bv.columns.size(), 24);
    EXPECT_EQ(bv.rows[0][0].toInt(), 1);
    EXPECT_EQ(bv.rows[0][1].toString(), QStringLiteral("1403/05/01"));
    EXPECT_EQ(bv.rows[0][2].toString(), QStringLiteral("1001"));
    EXPECT_TRUE(bv.rows[0][3].isNull());
    EXPECT_DOUBLE_EQ(bv.rows[0][4].toDouble(), 10.5);
    EXPECT_DOUBLE_EQ(bv.rows[0][5].toDouble(), 1.5);
    EXPECT_TRUE(bv.rows[0][11].isNull());
    EXPECT_EQ(bv.rows[0][13].toInt(), 3);
    EXPECT_DOUBLE_EQ(bv.rows[0][23].toDouble(), 400.5);
    EXPECT_EQ(bv.rows[2][0].toInt(), 3);
    // A second transfer adds the same cows again.
    copyIntoBv(QStringLiteral("1403/05/02"));
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM BV")), 8);
    run(QStringLiteral("Drop Table BVTemp"));
    EXPECT_FALSE(isTableExist(QStringLiteral("BVTemp")));
}

TEST_F(SystemSql, TransferFailuresOfTheServer) {
    // Registration numbers the text driver typed as numbers: SUBSTRING refuses them.
    createStaging(QStringLiteral("int"));
    run(QStringLiteral("INSERT INTO BVTemp (RegNo) VALUES (1001)"));
    EXPECT_EQ(errorOf(QStringLiteral("UPDATE  BVTemp SET RegNo = SUBSTRING(RegNo, 2, 100) Where SUBSTRING(RegNo, 1, "
                                     "1)='h'")),
              QStringLiteral("Argument data type int is invalid for argument 1 of substring function."));
    run(QStringLiteral("Drop Table BVTemp"));

    // BV without the eleven columns: the copy does not match its layout.
    createStaging();
    run(QStringLiteral("INSERT INTO Main VALUES (1, '1001')"));
    stage(QStringLiteral("1001"), 1);
    try {
        copyIntoBv(QStringLiteral("1403/05/01"));
        ADD_FAILURE() << "copy into a 13-column BV ran";
    } catch (const SqlError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Column name or number of supplied values does not match table definition."));
    }
    // A value that does not convert into its float column.
    run(QLatin1String(kUpgrade));
    run(QStringLiteral("ALTER TABLE BVTemp DROP COLUMN BvFat"));
    run(QStringLiteral("ALTER TABLE BVTemp ADD BvFat nvarchar(10)"));
    run(QStringLiteral("UPDATE BVTemp SET BvFat = 'n/a'"));
    try {
        copyIntoBv(QStringLiteral("1403/05/01"));
        ADD_FAILURE() << "text copied into a float column";
    } catch (const SqlError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Error converting data type nvarchar to float."));
    }
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM BV")), 0);
    // A staging table left from an earlier transfer.
    EXPECT_EQ(errorOf(QStringLiteral("SELECT * INTO BVTemp FROM Main")),
              QStringLiteral("There is already an object named 'BVTemp' in the database."));
}

TEST_F(SystemSql, TransferFromTheTextFile) {
    QTemporaryDir files;
    QFile text(QDir(files.path()).filePath(QStringLiteral("bv it's.txt")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("RegNo,BvMilk,BvFat,BvFatPercent,RankTotalMilk,RankTotalFat,RankHerdMilk,RankHerdFat,PeriodCount,BvPro,"
               "BvProPercent,RankTotalPro,RankHerdPro,MilkME_Avg,FatME_Avg,FatPerME_Avg,ProME_Avg,ProPerME_Avg,"
               "CalveDistance_Avg\r\n"
               "h1001,10.5,1.5,0.1,1,2,3,4,2,7.5,0.2,5,6,9000,300,3.3,280,3.1,395\r\n"
               "h2002,11.5,1.5,0.1,1,2,3,4,2,7.5,0.2,5,6,9000,300,3.3,280,3.1,401\r\n");
    text.close();
    const QString dir = QDir(files.path()).absolutePath() + u'/';
    // As the transfer builds it: D brace-quoted, F bracketed, the whole literal with
    // its quotes doubled.
    QString d = dir;
    d.replace(u'}', QLatin1String("}}"));
    const QString connection = QStringLiteral("Driver={Microsoft Text Driver (*.txt; *.csv)};DefaultDir={") + d +
                               QStringLiteral("};");
    const QString fill = QStringLiteral("SELECT * INTO  BVTemp FROM  OPENROWSET('MSDASQL', ") + quotedName(connection) +
                         QStringLiteral(", 'SELECT * FROM [bv it''s.txt];') Rowset_4");
    run(fill);
    run(QLatin1String(kUpgrade));
    run(QStringLiteral("INSERT INTO Main VALUES (1, '1001'), (2, '3003')"));
    repairRegNo();
    copyIntoBv(QStringLiteral("1403/05/01"));
    const ResultSet bv = run(QStringLiteral("SELECT Serial, RegNo, BvMilk, CalveDistance_Avg FROM BV"));
    ASSERT_EQ(bv.rows.size(), 1u);
    EXPECT_EQ(bv.rows[0][1].toString(), QStringLiteral("1001"));
    EXPECT_DOUBLE_EQ(bv.rows[0][3].toDouble(), 395);
    // Its numeric columns hold numbers only, as a typed table's do.
    EXPECT_EQ(errorOf(QStringLiteral("UPDATE BVTemp SET BvMilk = 'high'")),
              QStringLiteral("Error converting data type nvarchar to float."));
    // The staging table stays until the next transfer, which finds it in the way.
    EXPECT_TRUE(isTableExist(QStringLiteral("BVTemp")));
    EXPECT_EQ(errorOf(fill), QStringLiteral("There is already an object named 'BVTemp' in the database."));
}

TEST_F(SystemSql, CustomerCatalogue) {
    connectTo(QStringLiteral("master"));
    EXPECT_TRUE(run(QStringLiteral("SELECT * FROM sysdatabases WHERE (name = 'Masters')")).rows.empty());
    run(QStringLiteral("CREATE DATABASE Masters"));
    const ResultSet found = run(QStringLiteral("SELECT * FROM sysdatabases WHERE (name = 'Masters')"));
    ASSERT_EQ(found.rows.size(), 1u);
    EXPECT_EQ(found.rows[0][0].toString(), QStringLiteral("Masters"));
    connectTo(QStringLiteral("Masters"));
    run(QStringLiteral("CREATE TABLE Masters (DName nvarchar(100), SName nvarchar(100), EngDName nvarchar(100), "
                       "SPass nvarchar(100), Other int)"));
    run(QStringLiteral("INSERT INTO Masters VALUES (N'zeta', 'srv1', 'Farm1', 'p1', 0), (N'Alpha', 'srv2', 'Farm2', "
                       "'p''2', 0), (N'beta', 'srv3', 'Farm3', 'p3', 0), (N'Alpha', 'srv4', 'Farm4', 'p4', 0)"));
    const ResultSet all = run(QStringLiteral("SELECT * FROM Masters Order By DName"));
    QStringList names;
    for (const auto& row : all.rows) names << row[0].toString();
    EXPECT_EQ(names, (QStringList{"Alpha", "Alpha", "beta", "zeta"}));
    const ResultSet one = run(QStringLiteral("SELECT * FROM Masters Where DName='Alpha'"));
    ASSERT_EQ(one.rows.size(), 2u);
    EXPECT_EQ(one.columns, (QStringList{"DName", "SName", "EngDName", "SPass", "Other"}));
}

TEST_F(SystemSql, ScriptRunnerAndVersion) {
    EXPECT_EQ(scalar(QStringLiteral("SELECT SUBSTRING(@@VERSION, 22, 5) As V")).toString().trimmed(),
              QStringLiteral("2005"));
    run(QStringLiteral("CREATE TABLE T (A int)\r\n"));
    run(QStringLiteral("INSERT INTO T VALUES (1)\r\nINSERT INTO T VALUES (2)\r\n"));
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM T")), 2);
    const ResultSet firstRow = run(QStringLiteral("SELECT 1, 'x'"));
    ASSERT_EQ(firstRow.rows.size(), 1u);
    EXPECT_EQ(firstRow.rows[0][0].toInt(), 1);
    EXPECT_EQ(firstRow.rows[0][1].toString(), QStringLiteral("x"));
    // A failing statement in the middle of a batch: the ones before it stay done.
    EXPECT_NE(errorOf(QStringLiteral("INSERT INTO T VALUES (3)\r\nINSERT INTO Nowhere VALUES (4)\r\n")),
              QStringLiteral("no error"));
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM T")), 3);
}

TEST_F(SystemSql, CatalogueProcedureComputesItsSection) {
    run(QStringLiteral("INSERT INTO Main VALUES (1, 'a'), (2, 'b')"));
    run(QStringLiteral("CREATE PROCEDURE [_AutoCompute_Herd] As Begin Select \r\n(Select Count(*) From Main)[Cows],"
                       "\r\n(Select 0)[Bulls] \r\nInto [_Herd] End"));
    run(QStringLiteral("EXEC [_AutoCompute_Herd]"));
    const ResultSet herd = run(QStringLiteral("SELECT * FROM [_Herd]"));
    EXPECT_EQ(herd.columns, (QStringList{"Cows", "Bulls"}));
    ASSERT_EQ(herd.rows.size(), 1u);
    EXPECT_EQ(herd.rows[0][0].toInt(), 2);
    EXPECT_EQ(herd.rows[0][1].toInt(), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM INFORMATION_SCHEMA.COLUMNS WHERE TABLE_NAME = '_Herd' AND DATA_TYPE = 'int'")), 2);
    EXPECT_EQ(errorOf(QStringLiteral("EXEC [_AutoCompute_Herd]")),
              QStringLiteral("There is already an object named '_Herd' in the database."));
    EXPECT_EQ(errorOf(QStringLiteral("EXEC Missing")), QStringLiteral("Could not find stored procedure 'Missing'."));
}

TEST_F(SystemSql, AggregatesAndPickLists) {
    run(QStringLiteral("CREATE TABLE Items (Name nvarchar(20), Price float, [Count] int)"));
    run(QStringLiteral("INSERT INTO Items VALUES ('A', 2.5, 2), ('', 1, 4), ('B', 3, 1), (NULL, 10, 1), ('a', 1, 1)"));
    EXPECT_DOUBLE_EQ(scalar(QStringLiteral("Select Sum(Price)As Answer From Items")).toDouble(), 17.5);
    EXPECT_DOUBLE_EQ(scalar(QStringLiteral("Select Sum(Price * Count)As Answer From Items")).toDouble(), 23);
    EXPECT_DOUBLE_EQ(scalar(QStringLiteral("Select Sum(Price)As Answer From Items Where Price > 2")).toDouble(), 15.5);
    EXPECT_TRUE(scalar(QStringLiteral("Select Sum(Price)As Answer From Items Where Price > 100")).isNull());
    EXPECT_EQ(run(QStringLiteral("Select Distinct [Name] From [Items]")).rows.size(), 4u);  // A=a, '', B, NULL
    EXPECT_EQ(run(QStringLiteral("Select [Name] From [Items]")).rows.size(), 5u);
    EXPECT_EQ(run(QStringLiteral("Select [Name] From Items Where Price < 3")).rows.size(), 3u);
    EXPECT_EQ(run(QStringLiteral("Select Distinct [Name] From Dbo.Items Where Price < 3")).rows.size(), 2u);
    EXPECT_EQ(errorOf(QStringLiteral("Select Distinct [Name] From [Dbo.Items]")),
              QStringLiteral("Invalid object name 'Dbo.Items'."));
}

TEST_F(SystemSql, SettingsAndVersionReport) {
    run(QStringLiteral("CREATE TABLE Info (GroupSec nvarchar(50), KeyName nvarchar(50), KeyValue nvarchar(255), "
                       "Discription nvarchar(255))"));
    run(QStringLiteral("INSERT INTO Dbo.Info (GroupSec, KeyName, KeyValue) VALUES ('Version', 'App', '1.2'), "
                       "('version', 'Db', '7'), ('Other', 'X', 'y')"));
    const ResultSet r = run(QStringLiteral("Select * from Info Where GroupSec='Version'"));
    EXPECT_EQ(r.rows.size(), 2u);
}

}  // namespace
}  // namespace da::testing
