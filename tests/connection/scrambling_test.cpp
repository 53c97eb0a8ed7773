#include "tests/fixtures/qstringprint.h"
#include "connection/scrambling.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<char16_t> units(const QString& text) { return {text.utf16(), text.utf16() + text.size()}; }

TEST(Scrambling, KnownCodeUnits) {
    EXPECT_EQ(units(conn::positionScramble(QStringLiteral("abc"))), (std::vector<char16_t>{0x63, 0x66, 0x65}));
    EXPECT_EQ(units(conn::simpleScramble(QStringLiteral("abc"))), (std::vector<char16_t>{0x60, 0x63, 0x62}));
    EXPECT_EQ(conn::positionScramble(QString()), QString());
}

TEST(Scrambling, PositionKeyGrowsWithEveryCodeUnit) {
    // 200 equal code units: unit k becomes 'A' xor 2k, so no two neighbours agree.
    const QString scrambled = conn::positionScramble(QString(200, QLatin1Char('A')));
    ASSERT_EQ(scrambled.size(), 200);
    for (int k = 1; k <= 200; ++k)
        EXPECT_EQ(scrambled.at(k - 1).unicode(), char16_t('A' ^ (2 * k))) << "position " << k;
}

TEST(Scrambling, EachIsItsOwnInverse) {
    const QString samples[] = {QStringLiteral("sa"), QStringLiteral("file:/srv/farm db"),
                               QStringLiteral("رمز عبور كاربر"), QString(300, QChar(0x06CC)),
                               QStringLiteral("p@ss;w'ord]}")};
    for (const QString& text : samples) {
        EXPECT_EQ(conn::positionScramble(conn::positionScramble(text)), text);
        EXPECT_EQ(conn::simpleScramble(conn::simpleScramble(text)), text);
        EXPECT_EQ(conn::positionScramble(text).size(), text.size());
        if (!text.isEmpty()) {
            EXPECT_NE(conn::positionScramble(text), text);
        }
    }
}

}  // namespace
