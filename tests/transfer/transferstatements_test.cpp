#include "tests/fixtures/qstringprint.h"
#include "app/transferstatements.h"

#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace {

// Reads the OPENROWSET arguments back the way a T-SQL parser does: string literals
// with doubled quotes. nullopt when the text is not exactly three literals.
std::optional<std::vector<QString>> openRowsetArguments(const QString& statement) {
    const QString head = QStringLiteral("SELECT * INTO  BVTemp FROM  OPENROWSET(");
    const QString tail = QStringLiteral(") Rowset_4");
    if (!statement.startsWith(head) || !statement.endsWith(tail))
        return std::nullopt;
    const QString inner = statement.mid(head.size(), statement.size() - head.size() - tail.size());
    std::vector<QString> literals;
    qsizetype i = 0;
    while (i < inner.size()) {
        if (inner.at(i) != u'\'')
            return std::nullopt;
        QString value;
        for (++i;; ++i) {
            if (i >= inner.size())
                return std::nullopt;
            if (inner.at(i) == u'\'') {
                if (i + 1 < inner.size() && inner.at(i + 1) == u'\'') {
                    value += u'\'';
                    ++i;
                    continue;
                }
                ++i;
                break;
            }
            value += inner.at(i);
        }
        literals.push_back(value);
        if (i < inner.size()) {
            if (inner.mid(i, 2) != QLatin1String(", "))
                return std::nullopt;
            i += 2;
        }
    }
    return literals;
}

// The value of DefaultDir in an ODBC connection string, braces undone.
QString defaultDirOf(const QString& connectionString) {
    const QString key = QStringLiteral("DefaultDir={");
    const qsizetype start = connectionString.indexOf(key);
    if (start < 0)
        return {};
    QString value;
    for (qsizetype i = start + key.size(); i < connectionString.size(); ++i) {
        if (connectionString.at(i) == u'}') {
            if (i + 1 < connectionString.size() && connectionString.at(i + 1) == u'}') {
                value += u'}';
                ++i;
                continue;
            }
            return connectionString.mid(i + 1) == QLatin1String(";") ? value : QString();
        }
        value += connectionString.at(i);
    }
    return {};
}

// The table name of "SELECT * FROM [name];", brackets undone.
QString bracketedName(const QString& select) {
    const QString head = QStringLiteral("SELECT * FROM [");
    if (!select.startsWith(head) || !select.endsWith(QLatin1String("];")))
        return {};
    QString name = select.mid(head.size(), select.size() - head.size() - 2);
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (name.at(i) == u']') {
            if (i + 1 >= name.size() || name.at(i + 1) != u']')
                return {};  // a lone ] would have ended the name
            name.remove(i, 1);
        }
    }
    return name;
}

TEST(TransferStatements, FillStatementForOrdinaryNames) {
    EXPECT_EQ(transfer::fillStatement(QStringLiteral("/data/bv/"), QStringLiteral("bv1403.txt")),
              QStringLiteral("SELECT * INTO  BVTemp FROM  OPENROWSET('MSDASQL', 'Driver={Microsoft Text Driver (*.txt; "
                             "*.csv)};DefaultDir={/data/bv/};', 'SELECT * FROM [bv1403.txt];') Rowset_4"));
}

TEST(TransferStatements, AnyNameReachesTheDriverWhole) {
    const std::pair<QString, QString> cases[] = {
        {"/data/bv/", "bv.txt"},
        {"/tmp/it's here/", "o'neil's file.txt"},
        {"/tmp/a;b/", "x;DROP TABLE BV;--.txt"},
        {"/tmp/}{odd}}/", "]close[.txt"},
        {"/tmp/x'); DROP TABLE Main; --/", "a'], [b.txt"},
        {QStringLiteral("/tmp/پوشه ' ; ] }/"), QStringLiteral("فايل ' ] ; }.txt")},
        {"FileNameTxt", "PathFile"},
    };
    for (const auto& [dir, file] : cases) {
        const QString statement = transfer::fillStatement(dir, file);
        const auto arguments = openRowsetArguments(statement);
        ASSERT_TRUE(arguments) << statement.toStdString();
        ASSERT_EQ(arguments->size(), 3u) << statement.toStdString();
        EXPECT_EQ(arguments->at(0), "MSDASQL");
        EXPECT_TRUE(arguments->at(1).startsWith("Driver={Microsoft Text Driver (*.txt; *.csv)};DefaultDir={"));
        EXPECT_EQ(defaultDirOf(arguments->at(1)), dir) << statement.toStdString();
        EXPECT_EQ(bracketedName(arguments->at(2)), file) << statement.toStdString();
    }
}

TEST(TransferStatements, RepairStatementIsExact) {
    EXPECT_EQ(transfer::kRepairStatement,
              QStringLiteral("UPDATE  BVTemp SET RegNo = SUBSTRING(RegNo, 2, 100) Where SUBSTRING(RegNo, 1, 1)='h'"));
}

TEST(TransferStatements, CopyStatementIsExactWithTwoDoubleBlanks) {
    const QString expected = QStringLiteral(
        "INSERT INTO BV SELECT     M.Serial, '1403/02/15', T.RegNo, NULL AS BP, T.BvMilk, T.BvFat, T.BvFatPercent, "
        "T.RankTotalMilk, T.RankTotalFat, T.RankHerdMilk, T.RankHerdFat, NULL  AS BV1M, NULL AS BV1F, T.PeriodCount, "
        "T.BvPro, T.BvProPercent, T.RankTotalPro, T.RankHerdPro, T.MilkME_Avg, T.FatME_Avg, T.FatPerME_Avg, "
        "T.ProME_Avg,  T.ProPerME_Avg, T.CalveDistance_Avg FROM  dbo.BVTemp T INNER JOIN dbo.Main M ON T.RegNo "
        "COLLATE Arabic_CI_AI_KS_WS = M.Sabt");
    EXPECT_EQ(transfer::copyStatement(QStringLiteral("1403/02/15")), expected);
    EXPECT_TRUE(transfer::copyStatement(QStringLiteral("it's")).contains(QLatin1String(", 'it''s', T.RegNo")));
    EXPECT_TRUE(transfer::copyStatement(QString()).contains(QLatin1String("M.Serial, '', T.RegNo")));
}

TEST(TransferStatements, CopiedColumnsAreThoseTheCopyNames) {
    const QString copy = transfer::copyStatement(QStringLiteral("x"));
    ASSERT_EQ(transfer::copiedColumns().size(), 19);
    for (const QString& column : transfer::copiedColumns())
        EXPECT_TRUE(copy.contains("T." + column + ",") || copy.contains("T." + column + " ")) << column.toStdString();
}

TEST(TransferStatements, MessagesUseArabicLetterForms) {
    for (const QString& message : {transfer::kFillFailed, transfer::kCopyFailed, transfer::kFinished}) {
        EXPECT_FALSE(message.contains(QChar(0x06CC)));
        EXPECT_FALSE(message.contains(QChar(0x06A9)));
    }
    EXPECT_EQ(transfer::kFinished, QStringLiteral("انتقال خاتمه يافت"));
}

}  // namespace
