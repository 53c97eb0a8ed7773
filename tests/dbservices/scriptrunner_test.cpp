#include "dbservices/scriptrunner.h"
#include "platform/ansicodec.h"

#include <gtest/gtest.h>

using namespace scriptrunner;

namespace {

QStringList linesOf(const char* text) { return QString::fromUtf8(text).split(u'|'); }

}  // namespace

TEST(ScriptLines, SeparatorsAndComments) {
    struct Case {
        const char* line;
        bool separator;
        bool comment;
    } cases[] = {
        {"GO", true, false},        {"go", true, false},          {"  GO  ", true, false},
        {"Go", true, false},        {"\tgO\x7f", false, false},   {"\tgo\r", true, false},
        {"GO 5", false, false},     {"GOTO", false, false},       {"SELECT 1 GO", false, false},
        {"G O", false, false},      {"", false, false},           {"--", false, true},
        {"-- note", false, true},   {"//note", false, true},      {"  -- note", false, false},
        {"-x", false, false},       {"/* x */", false, false},    {"--GO", false, true},
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

TEST(ScriptBatches, NumberedInFileOrderEmptyOnesIncluded) {
    struct Case {
        const char* lines;     // "|" between lines
        const char* batches;   // "|" between batches, "+" between a batch's lines
    } cases[] = {
        {"A|GO|GO|B|GO", "A||B"},
        {"A|GO|B", "A|B"},                   // the last batch without its closing GO
        {"A|GO 2|B|GO", "A+GO 2+B"},
        {"GO", ""},
        {"GO|A|go", "|A"},
        {"A|  ", "A+  "},
        {"A|B| Go |C|D", "A+B|C+D"},
    };
    for (const Case& c : cases) {
        const std::vector<Batch> got = splitBatches(linesOf(c.lines));
        const QStringList expected = QString::fromUtf8(c.batches).split(u'|');
        ASSERT_EQ(got.size(), static_cast<size_t>(expected.size())) << c.lines;
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].number, static_cast<int>(i) + 1) << c.lines;
            const QString& e = expected[static_cast<int>(i)];
            EXPECT_EQ(got[i].lines, e.isEmpty() ? QStringList() : e.split(u'+')) << c.lines << " batch " << i + 1;
        }
    }
    EXPECT_TRUE(splitBatches({}).empty());
    EXPECT_TRUE((Batch{1, {" ", "\t"}}.isEmpty()));
    EXPECT_FALSE((Batch{1, {" ", "x"}}.isEmpty()));
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
