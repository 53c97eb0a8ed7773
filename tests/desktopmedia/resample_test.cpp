// Bilinear resampling against a second implementation written here from the fixed-point
// rules alone: rounding division, 16.16 steps, the weights of the four neighbours, the
// neighbour rules at the last row and column.
#include "desktop/resample.h"

#include <gtest/gtest.h>
#include <random>

namespace {

using desk::Bitmap;

// Rounded a * b / c for non-negative a, b and positive c: halves go up.
std::int64_t roundedDiv(std::int64_t a, std::int64_t b, std::int64_t c) { return (2 * a * b + c) / (2 * c); }

Bitmap reference(const Bitmap& s, int tw, int th) {
    Bitmap d(tw, th);
    if (s.width() == tw && s.height() == th)
        return s;
    const std::int64_t xStep = roundedDiv(s.width() - 1, 65536, tw);
    const std::int64_t yStep = roundedDiv(s.height() - 1, 65536, th);
    for (int y = 0; y < th; ++y) {
        const std::int64_t yPos = y * yStep;
        const int row1 = int(yPos / 65536);
        const int row2 = row1 + 1 < s.height() ? row1 + 1 : row1;
        const std::int64_t frac = yPos % 65536;
        const std::int64_t zy = frac + 1;
        const std::int64_t izy = 65536 - frac;
        for (int x = 0; x < tw; ++x) {
            const std::int64_t xPos = x * xStep;
            const int col1 = int(xPos / 65536);
            const int col2 = col1 + 1 < s.width() ? col1 + 1 : col1;
            const std::int64_t zx = xPos % 65536;
            const std::int64_t w2 = roundedDiv(zx, izy, 65536);
            const std::int64_t w4 = roundedDiv(zx, zy, 65536);
            const std::int64_t weights[4] = {izy - w2, w2, zy - w4, w4};
            EXPECT_EQ(weights[0] + weights[1] + weights[2] + weights[3], 65537);
            for (int k = 0; k < 3; ++k) {
                const std::int64_t v = s.scanLine(row1)[col1 * 3 + k] * weights[0] + s.scanLine(row1)[col2 * 3 + k] * weights[1] +
                                       s.scanLine(row2)[col1 * 3 + k] * weights[2] + s.scanLine(row2)[col2 * 3 + k] * weights[3];
                d.scanLine(y)[x * 3 + k] = std::uint8_t(v / 65536);
            }
        }
    }
    return d;
}

Bitmap noise(int w, int h, unsigned seed) {
    Bitmap b(w, h);
    std::mt19937 gen(seed);
    for (int y = 0; y < h; ++y)
        for (int i = 0; i < b.bytesPerLine(); ++i)
            b.scanLine(y)[i] = std::uint8_t(gen());
    return b;
}

struct SizeCase {
    int sw, sh, tw, th;
};

class ResampleSizes : public ::testing::TestWithParam<SizeCase> {};

TEST_P(ResampleSizes, MatchesTheFixedPointRulesPixelForPixel) {
    const SizeCase c = GetParam();
    const Bitmap source = noise(c.sw, c.sh, unsigned(c.sw * 131 + c.sh));
    Bitmap target(c.tw, c.th);
    desk::resampleBilinear(source, target);
    ASSERT_EQ(target.width(), c.tw);
    ASSERT_EQ(target.height(), c.th);
    EXPECT_TRUE(target == reference(source, c.tw, c.th));
}

INSTANTIATE_TEST_SUITE_P(Sizes, ResampleSizes,
                         ::testing::Values(SizeCase{40, 30, 8, 6}, SizeCase{8, 6, 40, 30}, SizeCase{37, 23, 101, 7},
                                           SizeCase{100, 100, 33, 67}, SizeCase{3, 3, 10, 10}, SizeCase{10, 10, 3, 3},
                                           SizeCase{1, 1, 9, 4}, SizeCase{5, 4, 5, 4}, SizeCase{1, 8, 4, 3},
                                           SizeCase{8, 1, 3, 4}, SizeCase{12, 7, 12, 1}, SizeCase{12, 7, 1, 7},
                                           SizeCase{17, 13, 1, 1}, SizeCase{2, 2, 2000, 3}, SizeCase{640, 2, 800, 1}));

TEST(ResampleBilinear, OnePixelFillsAnyTargetWithItsColour) {
    Bitmap one(1, 1);
    one.scanLine(0)[0] = 10, one.scanLine(0)[1] = 200, one.scanLine(0)[2] = 255;
    for (const auto& [w, h] : {std::pair{1, 5}, {7, 1}, {13, 9}}) {
        Bitmap target(w, h);
        desk::resampleBilinear(one, target);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(std::vector<int>(target.scanLine(y) + x * 3, target.scanLine(y) + x * 3 + 3),
                          (std::vector<int>{10, 200, 255}))
                    << w << "x" << h << " at " << x << "," << y;
    }
}

TEST(ResampleBilinear, EqualSizeCopiesTheSourceExactly) {
    const Bitmap source = noise(9, 4, 5);
    Bitmap target = noise(9, 4, 6);
    desk::resampleBilinear(source, target);
    EXPECT_TRUE(target == source);
}

TEST(MulDiv, RoundsHalvesAwayFromZeroAndRefusesWhatCannotBeAnswered) {
    struct {
        std::int32_t a, b, c, expected;
    } const cases[] = {
        {2, 3, 4, 2},
        {1, 1, 2, 1},
        {1, 1, 3, 0},
        {-3, 1, 2, -2},
        {3, -1, 2, -2},
        {7, 65536, 7, 65536},
        {639, 65536, 800, 52347},
        {5, 1, 0, -1},
        {0x7FFFFFFF, 2, 1, -1},
        {0x7FFFFFFF, 2, 2, 0x7FFFFFFF},
    };
    for (const auto& c : cases)
        EXPECT_EQ(desk::mulDiv(c.a, c.b, c.c), c.expected) << c.a << " * " << c.b << " / " << c.c;
}

}  // namespace
