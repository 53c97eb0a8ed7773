// The month calendar widget driven as a user drives it: keys, mouse and wheel, the
// month box and the year field, and what it paints.
#include "widgets/solarmonthcalendar.h"

#include <QComboBox>
#include <QImage>
#include <QSpinBox>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

std::string str(const QString& s) { return s.toStdString(); }

class MonthCalendar : public ::testing::Test {
protected:
    void SetUp() override {
        m_cal.setToday(QStringLiteral("1403/12/25"));
        m_cal.resize(322, 195);
    }
    QString selected() const { return m_cal.selectedDate(u"/"); }
    // The cell of a day of the shown month, found from what the grid shows.
    QPoint cellOfDay(int day) const {
        for (int row = 0; row < cal::kWeekRows; ++row)
            for (int column = 0; column < cal::kWeekColumns; ++column)
                if (m_cal.cellEnabled(row, column) && m_cal.cellText(row, column) == QString::number(day))
                    return {row, column};
        return {-1, -1};
    }
    TSolarMonthCalendar m_cal;
};

TEST_F(MonthCalendar, StartsOnTodayWithMonthAndYearInTheCaption) {
    EXPECT_EQ(selected(), QStringLiteral("1403/12/25"));
    EXPECT_EQ(m_cal.today(), QStringLiteral("1403/12/25"));
    EXPECT_EQ(m_cal.monthCombo()->currentText(), TSolarMonthCalendar::monthName(12));
    EXPECT_EQ(m_cal.yearField()->value(), 1403);
    // The month box lies to the right of the year field.
    EXPECT_GE(m_cal.monthCombo()->geometry().left(), m_cal.yearField()->geometry().right());
    EXPECT_EQ(m_cal.selectedDate(u"-"), QStringLiteral("1403-12-25"));
}

TEST_F(MonthCalendar, MirroredKeysMoveTheSelection) {
    struct Row {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* expected;
    };
    const Row rows[] = {
        {Qt::Key_Left, {}, "1403/12/26"},
        {Qt::Key_Right, {}, "1403/12/24"},
        {Qt::Key_Down, {}, "1404/01/02"},  // a week on, past the leap day
        {Qt::Key_Up, {}, "1403/12/18"},
        {Qt::Key_PageDown, {}, "1404/01/25"},
        {Qt::Key_PageUp, {}, "1403/11/25"},
        {Qt::Key_PageDown, Qt::ControlModifier, "1404/12/25"},
        {Qt::Key_PageUp, Qt::ControlModifier, "1402/12/25"},
        {Qt::Key_Home, {}, "1403/12/01"},
        {Qt::Key_End, {}, "1403/12/30"},
    };
    for (const Row& r : rows) {
        m_cal.setSelected({1403, 12, 25});
        QTest::keyClick(&m_cal, r.key, r.modifiers);
        EXPECT_EQ(str(selected()), r.expected) << QTest::toString(r.key);
    }
    // Month moves keep the day where the month has it and clamp it where not.
    m_cal.setSelected({1403, 6, 31});
    QTest::keyClick(&m_cal, Qt::Key_PageDown);
    EXPECT_EQ(selected(), QStringLiteral("1403/07/30"));
    m_cal.setSelected({1403, 12, 30});
    QTest::keyClick(&m_cal, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(selected(), QStringLiteral("1404/12/29"));
}

TEST_F(MonthCalendar, GridShowsTheMonthUnderItsWeekdays) {
    m_cal.setSelected({1403, 12, 1});  // Wednesday 2025-02-19
    EXPECT_EQ(cellOfDay(1), QPoint(0, 4));
    EXPECT_EQ(cellOfDay(30), QPoint(4, 5));
    EXPECT_EQ(cellOfDay(31), QPoint(-1, -1));
    // Neighbouring days are shown but disabled: Bahman's last days before the 1st.
    EXPECT_EQ(m_cal.cellText(0, 3), QStringLiteral("30"));
    EXPECT_FALSE(m_cal.cellEnabled(0, 3));
    EXPECT_EQ(m_cal.cellText(4, 6), QStringLiteral("1"));
    EXPECT_FALSE(m_cal.cellEnabled(4, 6));
    // Right to left: Saturday is the rightmost column, Friday the leftmost.
    EXPECT_EQ(m_cal.cellRect(0, 0).right(), m_cal.width() - 1);
    EXPECT_EQ(m_cal.cellRect(0, 6).left(), 0);
}

TEST_F(MonthCalendar, MouseClickSelectsAndDisabledCellsDoNot) {
    m_cal.setSelected({1403, 12, 1});
    QTest::mouseClick(&m_cal, Qt::LeftButton, {}, m_cal.cellRect(2, 5).center());
    EXPECT_EQ(selected(), QStringLiteral("1403/12/16"));                           // third row, Thursday
    QTest::mouseClick(&m_cal, Qt::LeftButton, {}, m_cal.cellRect(0, 0).center());  // Bahman 27
    EXPECT_EQ(selected(), QStringLiteral("1403/12/16"));
}

TEST_F(MonthCalendar, WheelChangesTheMonth) {
    const auto wheel = [this](int delta) {
        const QPointF at = m_cal.cellRect(2, 2).center();
        QWheelEvent e(at, m_cal.mapToGlobal(at), {}, QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(&m_cal, &e);
    };
    wheel(-120);
    EXPECT_EQ(selected(), QStringLiteral("1404/01/25"));
    wheel(120);
    wheel(120);
    EXPECT_EQ(selected(), QStringLiteral("1403/11/25"));
    wheel(60);  // half a notch does nothing yet
    EXPECT_EQ(selected(), QStringLiteral("1403/11/25"));
    wheel(60);
    EXPECT_EQ(selected(), QStringLiteral("1403/10/25"));
}

TEST_F(MonthCalendar, MonthBoxAndYearFieldFollowTheGoToRules) {
    m_cal.setSelected({1403, 12, 30});
    m_cal.yearField()->setFocus();
    m_cal.yearField()->selectAll();
    QTest::keyClicks(m_cal.yearField(), QStringLiteral("1402"));
    EXPECT_EQ(selected(), QStringLiteral("1402/12/29"));  // clamped: 1402 has no leap day
    m_cal.monthCombo()->setCurrentIndex(6);
    EXPECT_EQ(selected(), QStringLiteral("1402/07/29"));
    m_cal.goToMonth(13);
    m_cal.goToDay(31);
    EXPECT_EQ(selected(), QStringLiteral("1402/07/29"));
    EXPECT_EQ(m_cal.monthCombo()->currentIndex(), 6);
    m_cal.goToYear(0);
    EXPECT_EQ(m_cal.yearField()->value(), 1402);
}

TEST_F(MonthCalendar, PaintsTheSettableColours) {
    SolarCalendarColors c;
    c.firstRow = QColor(249, 255, 225);
    c.secondRow = QColor(223, 235, 255);
    c.background = QColor(240, 255, 225);
    c.caption = QColor(206, 255, 206);
    c.disabledCell = QColor(192, 192, 192);
    c.cellText = Qt::black;
    c.selectedCellText = Qt::red;
    m_cal.setColors(c);
    m_cal.setSelected({1403, 12, 1});
    const QImage image = m_cal.grab().toImage();
    const auto at = [&image](QPoint p) { return QColor(image.pixel(p)); };
    EXPECT_EQ(at({2, 2}), c.caption);
    EXPECT_EQ(at(m_cal.headerRect().topLeft() + QPoint(2, 2)), c.firstRow);
    EXPECT_EQ(at(m_cal.cellRect(3, 1).topLeft() + QPoint(3, 3)), c.secondRow);   // a day cell
    EXPECT_EQ(at(m_cal.cellRect(0, 0).topLeft() + QPoint(3, 3)), c.background);  // a neighbour's cell
    // Each text colour where it belongs: the selected day red, the others black, the
    // neighbours silver.
    // Text is smoothed: a pixel near the colour counts.
    const auto hasColour = [&image](const QRect& r, const QColor& colour) {
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) {
                const QColor p(image.pixel(x, y));
                if (std::abs(p.red() - colour.red()) < 40 && std::abs(p.green() - colour.green()) < 40 &&
                    std::abs(p.blue() - colour.blue()) < 40)
                    return true;
            }
        return false;
    };
    const QRect selectedCell = m_cal.cellRect(0, 4).adjusted(4, 4, -4, -4);  // inside the frame
    EXPECT_TRUE(hasColour(selectedCell, Qt::red));
    EXPECT_FALSE(hasColour(m_cal.cellRect(1, 4).adjusted(4, 4, -4, -4), Qt::red));
    EXPECT_TRUE(hasColour(m_cal.cellRect(1, 4), Qt::black));
    EXPECT_TRUE(hasColour(m_cal.cellRect(0, 0), c.disabledCell));
}

}  // namespace
