// The procedure builder: its text for a section, its filter, and the procedure it gives
// run on the embedded engine.
#include "tests/fixtures/catalogfixture.h"

namespace {

class ProcedureTest : public CatalogueFixture {
protected:
    // The first column of the first row of a query on the farm database, as text.
    QString scalar(const QString& sql) {
        da::Query q(&m_conn);
        q.setSql(sql);
        q.open();
        return q.field(0).asString();
    }
};

TEST_F(ProcedureTest, TheHerdSectionLineByLine) {
    addRow(QStringLiteral("Herd"), QStringLiteral("Cows"), QStringLiteral("Select Count(*) From Main"));
    addRow(QStringLiteral("Other"), QStringLiteral("X"), QStringLiteral("Select 9"));
    addRow(QStringLiteral("Herd"), QStringLiteral("  Bulls  "), QStringLiteral("Select 0"));
    addRow(QStringLiteral("herd"), QStringLiteral("Y"), QStringLiteral("Select 8"));
    EXPECT_EQ(m_tools->SQlCmdReadAndCreatStoreProce(QStringLiteral("Herd")),
              QStringList({QStringLiteral("CREATE PROCEDURE [_AutoCompute_Herd] As Begin Select "),
                           QStringLiteral("(Select Count(*) From Main)[Cows],"), QStringLiteral("(Select 0)[Bulls] "),
                           QStringLiteral("Into [_Herd] End")}));
    // The filter is off and empty again, and lookups see every section.
    EXPECT_FALSE(m_tools->TSqlCommands->filtered());
    EXPECT_TRUE(m_tools->TSqlCommands->filter().isEmpty());
    EXPECT_TRUE(m_tools->SQlCmdFind(QStringLiteral("Other"), QStringLiteral("X")));
}

TEST_F(ProcedureTest, SectionsWithQuotesAndSectionsWithoutRows) {
    addRow(QStringLiteral("O'Brien"), QStringLiteral("T"), QStringLiteral("Select 1"));
    addRow(QStringLiteral("O"), QStringLiteral("U"), QStringLiteral("Select 2"));
    struct Case {
        QString sec;
        QStringList expected;
    };
    const Case cases[] = {
        {QStringLiteral("O'Brien"),
         {QStringLiteral("CREATE PROCEDURE [_AutoCompute_O'Brien] As Begin Select "), QStringLiteral("(Select 1)[T] "),
          QStringLiteral("Into [_O'Brien] End")}},
        {QStringLiteral("Empty"),
         {QStringLiteral("CREATE PROCEDURE [_AutoCompute_Empty] As Begin Select "), QStringLiteral("Into [_Empty] End")}},
        {QStringLiteral("' OR ''='"),
         {QStringLiteral("CREATE PROCEDURE [_AutoCompute_' OR ''='] As Begin Select "), QStringLiteral("Into [_' OR ''='] End")}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(m_tools->SQlCmdReadAndCreatStoreProce(c.sec), c.expected) << c.sec.toStdString();
        EXPECT_FALSE(m_tools->TSqlCommands->filtered());
    }
}

// Fifty entries written through the catalogue; the procedure's one row must hold what
// each expression gives when run alone.
TEST_F(ProcedureTest, TheGeneratedProcedureComputesEveryEntryOfTheSection) {
    run(QStringLiteral("CREATE TABLE Main (Serial int, Sabt nvarchar(20))"));
    run(QStringLiteral("INSERT INTO Main VALUES (1, 'a'), (2, 'b'), (3, 'b'), (40, 'c')"));
    QStringList expressions;
    for (int i = 0; i < 50; ++i) {
        switch (i % 4) {
        case 0: expressions << QStringLiteral("Select Count(*) From Main Where Serial > %1").arg(i); break;
        case 1: expressions << QStringLiteral("Select %1 * 3 + 1").arg(i); break;
        case 2: expressions << QStringLiteral("Select Max(Serial) - %1 From Main").arg(i); break;
        default: expressions << QStringLiteral("Select Count(DISTINCT Sabt) From Main Where Serial < %1").arg(i); break;
        }
        ASSERT_TRUE(m_tools->SQlCmdWriteStringList(QStringLiteral("Stats"), QStringLiteral(" T%1 ").arg(i), {expressions.last()}));
    }
    const QStringList procedure = m_tools->SQlCmdReadAndCreatStoreProce(QStringLiteral("Stats"));
    ASSERT_EQ(m_tools->ExecSqlNoCount(procedure.join(QStringLiteral("\r\n"))), 0) << procedure.join(u'\n').toStdString();
    ASSERT_EQ(m_tools->ExecSqlNoCount(QStringLiteral("EXEC [_AutoCompute_Stats]")), 0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM [_Stats]")), QStringLiteral("1"));
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(scalar(QStringLiteral("SELECT [T%1] FROM [_Stats]").arg(i)), scalar(expressions[i]))
            << expressions[i].toStdString();
    }
}

}  // namespace
