#include "widgets/bouncingprogressstrip.h"

#include <QImage>
#include <gtest/gtest.h>
#include <vector>

TEST(BouncingProgressStrip, BlockBouncesBetweenTheEnds) {
    struct Case {
        int steps;
        int step;
        std::vector<int> positions;  // after each tick
    } cases[] = {
        {5, 1, {1, 2, 3, 4, 5, 4, 3, 2, 1, 0, 1, 2}},
        {5, 2, {2, 4, 5, 3, 1, 0, 2}},
        {1, 1, {1, 0, 1, 0}},
    };
    for (const Case& c : cases) {
        BouncingProgressStrip strip;
        strip.setSteps(c.steps);
        strip.setStep(c.step);
        std::vector<int> seen;
        for (size_t i = 0; i < c.positions.size(); ++i) {
            strip.tick();
            seen.push_back(strip.position());
        }
        EXPECT_EQ(seen, c.positions) << "steps " << c.steps << " step " << c.step;
    }
}

TEST(BouncingProgressStrip, BlockIsPaintedWhereItStands) {
    BouncingProgressStrip strip;
    strip.resize(700, 13);
    strip.setSteps(5);
    strip.setBlockWidth(200);
    strip.setBlockColor(QColor(255, 121, 121));
    strip.setBackColor(QColor(255, 255, 230));

    EXPECT_EQ(strip.blockRect(), QRect(0, 0, 200, 13));
    for (int i = 0; i < 5; ++i)
        strip.tick();
    EXPECT_EQ(strip.blockRect(), QRect(500, 0, 200, 13));
    const QImage image = strip.grab().toImage();
    EXPECT_EQ(image.pixelColor(600, 6), QColor(255, 121, 121));
    EXPECT_EQ(image.pixelColor(100, 6), QColor(255, 255, 230));

    // Right to left, the block starts at the right end.
    BouncingProgressStrip mirrored;
    mirrored.resize(700, 13);
    mirrored.setLayoutDirection(Qt::RightToLeft);
    EXPECT_EQ(mirrored.blockRect(), QRect(500, 0, 200, 13));
    mirrored.tick();
    EXPECT_EQ(mirrored.blockRect(), QRect(400, 0, 200, 13));
}

TEST(BouncingProgressStrip, NarrowStripClipsTheBlock) {
    BouncingProgressStrip strip;
    strip.resize(150, 13);
    strip.tick();
    EXPECT_EQ(strip.blockRect(), QRect(0, 0, 150, 13));
}
