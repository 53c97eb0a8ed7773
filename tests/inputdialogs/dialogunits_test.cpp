#include "dialogs/dialogunits.h"

#include <climits>
#include <gtest/gtest.h>

namespace {

TEST(MulDiv, RoundsToNearestWithHalvesAwayFromZero) {
    struct Case {
        int number, numerator, denominator, expected;
    };
    const Case cases[] = {
        {180, 6, 4, 270},
        {14, 13, 8, 23},  // 22.75
        {8, 13, 8, 13},
        {1, 1, 2, 1},  // a half rounds up
        {3, 1, 2, 2},
        {-1, 1, 2, -1},  // and away from zero below it
        {5, 1, -2, -3},
        {-5, -1, 2, 3},  //
        {7, 1, 3, 2},
        {2, 1, 3, 1},
        {1, 1, 3, 0},
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX},  // the product needs 64 bits
        {1, 1, 0, -1},
        {INT_MAX, 2, 1, -1},
        {INT_MIN, 1, -1, -1},  // no result
        {INT_MIN, 1, 1, INT_MIN},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.expected) << c.number << " * " << c.numerator << " / " << c.denominator;
}

TEST(FirstUnits, CutsWithoutSplittingACharacter) {
    const QString clef = QString::fromUtf8("\xF0\x9D\x84\x9E");  // two UTF-16 units
    struct Case {
        QString text;
        int n;
        QString expected;
    };
    const Case cases[] = {
        {QString(300, u'x'), 255, QString(255, u'x')},
        {QString(254, u'x') + clef + u'y', 255, QString(254, u'x')},
        {QString(253, u'x') + clef + u'y', 255, QString(253, u'x') + clef},
        {QStringLiteral("short"), 255, QStringLiteral("short")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(firstUnits(c.text, c.n), c.expected) << c.text.size();
}

TEST(TrimsToEmpty, OnlyCodesUpTo32AreBlank) {
    const std::pair<QString, bool> cases[] = {
        {QString(), true},
        {QStringLiteral("\t\r\n \x1f"), true},
        {QStringLiteral(" a "), false},
        {QString(QChar(0x00A0)), false},  // no-break space
        {QString(QChar(0x200C)), false},  // zero-width non-joiner of Persian words
    };
    for (const auto& [text, blank] : cases)
        EXPECT_EQ(trimsToEmpty(text), blank) << text.toStdString();
}

}  // namespace
