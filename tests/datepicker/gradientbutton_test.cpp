// The gradient button: its colours where the user sees them, hot under the mouse.
#include "widgets/gradientbutton.h"

#include <QEnterEvent>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Within a few steps of the colour: the gradient's ends are a pixel from the edge.
void expectNear(const QColor& actual, const QColor& expected, const char* where) {
    EXPECT_LE(std::abs(actual.red() - expected.red()), 6) << where;
    EXPECT_LE(std::abs(actual.green() - expected.green()), 6) << where;
    EXPECT_LE(std::abs(actual.blue() - expected.blue()), 6) << where;
}

TEST(GradientButton, HorizontalGradientWithHotColourUnderTheMouse) {
    GradientButton b(QStringLiteral("x"));
    b.setColors(Qt::white, QColor(226, 255, 198), QColor(255, 255, 128));
    b.resize(97, 26);
    EXPECT_EQ(b.focusPolicy(), Qt::NoFocus);
    const auto pixels = [&b] {
        const QImage image = b.grab().toImage();
        return std::pair{QColor(image.pixel(2, 4)), QColor(image.pixel(b.width() - 3, 4))};
    };
    auto [left, right] = pixels();
    expectNear(left, Qt::white, "left end");
    expectNear(right, QColor(226, 255, 198), "right end");

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), b.mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(&b, &enter);
    EXPECT_TRUE(b.isHot());
    std::tie(left, right) = pixels();
    expectNear(right, QColor(255, 255, 128), "hot right end");
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&b, &leave);
    std::tie(left, right) = pixels();
    expectNear(right, QColor(226, 255, 198), "right end after leaving");
}

}  // namespace
