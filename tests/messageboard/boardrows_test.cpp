#include "toolkit/boardrows.h"

#include <gtest/gtest.h>

namespace {

QString letters(int n, QChar c = u'x') { return QString(n, c); }

QString joined(const std::vector<BoardRow>& rows) {
    QString all;
    for (const BoardRow& r : rows)
        all += r.value;
    return all;
}

}  // namespace

TEST(BoardRows, ValuesAreSpreadOverContinuationRows) {
    const QString cont = QStringLiteral(" .. ");
    // Remainder (after the first 70) with a blank at position 75.
    const QString blankAt75 = letters(74, u'b') + u' ' + letters(30, u'c');
    // Remainder whose only blank stands before position 70: not a place to cut.
    const QString blankAt50 = letters(49, u'd') + u' ' + letters(50, u'd');
    // Remainder with its blank exactly at position 70.
    const QString blankAt70 = letters(69, u'e') + u' ' + letters(20, u'e');
    struct Case {
        const char* name;
        QString value;
        std::vector<int> lengths;  // value length of each row, in order
    } cases[] = {
        {"empty value", QString(), {0}},
        {"exactly 70", letters(70), {70}},
        {"71", letters(71), {70, 1}},
        {"remainder of exactly 70", letters(140), {70, 70}},
        {"remainder of 71 without blanks", letters(70 + 71), {70, 70, 1}},
        {"remainder of 100 without blanks", letters(70 + 100), {70, 99, 1}},
        {"remainder of 200 without blanks", letters(70 + 200), {70, 199, 1}},
        {"blank at position 75", letters(70, u'a') + blankAt75, {70, 75, 30}},
        {"blank only before position 70", letters(70) + blankAt50, {70, 99, 1}},
        {"blank at position 70", letters(70) + blankAt70, {70, 70, 20}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<BoardRow> rows = boardrows::wrap(QStringLiteral("Key"), c.value);
        ASSERT_EQ(rows.size(), c.lengths.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].key, i == 0 ? QStringLiteral("Key") : cont) << i;
            EXPECT_EQ(rows[i].value.size(), c.lengths[i]) << i;
        }
        EXPECT_EQ(joined(rows), c.value);
    }
    // The cut at the blank keeps the blank at the end of its row.
    const std::vector<BoardRow> rows = boardrows::wrap(QStringLiteral("K"), letters(70) + blankAt75);
    EXPECT_TRUE(rows[1].value.endsWith(u' '));
    EXPECT_EQ(rows[2].value, letters(30, u'c'));
}

TEST(BoardRows, PersianValuesCountCharactersNotBytes) {
    // Words of five Persian letters and a blank: 6 characters each.
    const QString word = QStringLiteral("گزارش ");
    QString value;
    for (int i = 0; i < 30; ++i)
        value += word;  // 180 characters
    const std::vector<BoardRow> rows = boardrows::wrap(QStringLiteral("خطا"), value);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].key, QStringLiteral("خطا"));
    EXPECT_EQ(rows[0].value, value.left(70));
    // The remainder (110 characters) has blanks at positions 2, 8, ..., 68, 74: the
    // first one at or after 70 ends the continuation row.
    EXPECT_EQ(rows[1].value.size(), 74);
    EXPECT_TRUE(rows[1].value.endsWith(u' '));
    EXPECT_EQ(rows[2].value.size(), 180 - 70 - 74);
    EXPECT_EQ(joined(rows), value);
}

TEST(BoardRows, CounterText) {
    EXPECT_EQ(boardrows::counterText(0), QStringLiteral("تعداد سطر : 0"));
    EXPECT_EQ(boardrows::counterText(1234), QStringLiteral("تعداد سطر : 1234"));
}

TEST(BoardRows, ProposedReportName) {
    struct Case {
        QString caption;
        BoardRow first;
        QString expected;
    } cases[] = {
        {"Report", {"Date", "1390/09/17"}, "Report Date13900917"},
        // Only the first "=" goes; a later one stays.
        {"Report", {"a", "b=c"}, "Report ab=c"},
        // The first "=" of the whole text, even inside the caption.
        {"x=y", {"k", "v"}, "xy k=v"},
        // Blanks and control characters at both ends go, inner ones stay.
        {"\t Report", {"k", "v \r\n"}, "Report kv"},
        {"", {"", ""}, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(boardrows::proposedReportName(c.caption, c.first), c.expected) << c.caption.toStdString();
}

TEST(BoardRows, ReportLinesAndNameFilters) {
    EXPECT_EQ(boardrows::reportLines({{"a", "1"}, {" .. ", "x=y"}, {"", ""}}), QStringList({"a=1", " .. =x=y", "="}));
    EXPECT_EQ(boardrows::nameFilters(QStringLiteral("Reports|*.Txt|All|*.*")), QStringList({"Reports (*.Txt)", "All (*.*)"}));
    EXPECT_EQ(boardrows::nameFilters(QStringLiteral("Pictures|*.bmp;*.jpg")), QStringList({"Pictures (*.bmp *.jpg)"}));
}
