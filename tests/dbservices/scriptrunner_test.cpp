#include "dbservices/scriptrunner.h"
#include "platform/ansicodec.h"

#include <gtest/gtest.h>

using namespace scriptrunner;

TEST(ScriptLines, SeparatorsAndComments) {
    struct Case {
        const char* line;
        bool separator;
        bool comment;
    } cases[] = {
        {"GO", true, false},
        {"go", true, false},
        {"  GO  ", true, false},
        {"Go", true, false},
        {"\tgO\x7f", false, false},
        {"\tgo\r", true, false},
        {"GO 5", false, false},
        {"GOTO", false, false},
        {"SELECT 1 GO", false, false},
        {"G O", false, false},
        {"", false, false},
        {"--", false, true},
        {"-- note", false, true},
        {"//note", false, true},
        {"  -- note", false, false},
        {"-x", false, false},
        {"/* x */", false, false},
        {"--GO", false, true},
    };
    for (const Case& c : cases) {
        const QString line = QString::fromUtf8(c.line);
        EXPECT_EQ(isBatchSeparator(line), c.separator) << c.line;
        EXPECT_EQ(isCommentLine(line), c.comment) << c.line;
    }
}

TEST(ScriptLines, OnlyZeroLengthAndCommentLinesAreDropped) {
    const QStringList lines{"-- first", "", "  ", "A", "  -- kept", "//x", "\t", "B"};
    EXPECT_EQ(withoutEmptyAndComments(lines), (QStringList{"  ", "A", "  -- kept", "\t", "B"}));
}

TEST(ScriptBatches, EmptyBatchesAreNumberedToo) {
    const std::vector<Batch> got = splitBatches(QStringList{"GO", "  ", "go", "A"});
    ASSERT_EQ(got.size(), 3u);
    EXPECT_TRUE(got[0].lines.isEmpty());
    EXPECT_TRUE(got[1].isEmpty());
    EXPECT_EQ(got[2].number, 3);
    EXPECT_EQ(got[2].lines, QStringList{"A"});
    EXPECT_FALSE(got[2].isEmpty());
    EXPECT_TRUE(splitBatches({}).empty());
}

TEST(ScriptWorkingCopy, KeepsTheEncodingTheScriptCameIn) {
    const QStringList lines{QStringLiteral("INSERT INTO P VALUES (N'گاو')"), QStringLiteral("-- ж €")};
    const QByteArray marks[] = {QByteArray("\xEF\xBB\xBF"), QByteArray("\xFF\xFE"), QByteArray("\xFE\xFF")};
    for (const QByteArray& mark : marks) {
        const QByteArray bytes = encodeLines(mark, lines);
        EXPECT_EQ(byteOrderMark(bytes), mark);
        EXPECT_EQ(plat::splitLines(plat::decodeText(bytes)), lines) << mark.toHex().constData();
        EXPECT_TRUE(plat::decodeText(bytes).endsWith(QStringLiteral("\r\n")));
    }
    // Without a mark, the ANSI code page: what it has no place for becomes '?'.
    EXPECT_EQ(byteOrderMark(QByteArray("\xEF\xBB")), QByteArray());
    EXPECT_EQ(plat::fromAnsi(encodeLines({}, lines)),
              QStringLiteral("INSERT INTO P VALUES (N'گاو')\r\n-- ? €\r\n"));
}
