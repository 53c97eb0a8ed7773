#pragma once
// Month calendar of the widget set in the Solar Hijri calendar: one month as a grid of
// days under a weekday header (the week starts on Saturday), right to left, a month
// combo box to the right of the year field, today marked and one day selected. The
// days, lengths and weekdays come from the solar calendar units, so every date it
// hands out is one the toolkit converts.
//
// Keys (mirrored for right to left): Left the next day, Right the day before, Up and
// Down a week, PageUp/PageDown a month, Ctrl+PageUp/PageDown a year, Home/End the
// month's first and last day. The mouse wheel changes the month.
#include "calendar/solarmonthgrid.h"

#include <QColor>
#include <QWidget>

class QComboBox;
class QSpinBox;

struct SolarCalendarColors {
    QColor firstRow{Qt::white};     // the row of weekday names
    QColor secondRow{Qt::white};    // the cells of the month's days
    QColor background{Qt::white};   // around the grid and the cells of neighbouring months
    QColor caption{Qt::lightGray};  // the bar with month and year
    QColor disabledCell{Qt::gray};  // day numbers of neighbouring months
    QColor cellText{Qt::black};
    QColor selectedCellText{Qt::red};
};

class TSolarMonthCalendar : public QWidget {
    Q_OBJECT
public:
    explicit TSolarMonthCalendar(QWidget* parent = nullptr);

    // Today: marked in the grid; selected at creation. Text "yyyy/mm/dd"; a text that
    // names no day of the calendar leaves no mark and selects nothing new.
    void setToday(const QString& solarDate);
    QString today() const;

    void goToYear(int year);
    void goToMonth(int month);
    void goToDay(int day);
    void setSelected(const cal::Day& day);  // ignored unless the calendar offers it
    cal::Day selected() const { return m_selected; }
    // Four-digit year, separator, two-digit month, separator, two-digit day.
    QString selectedDate(QStringView separator) const;

    // Solar date text to Gregorian "yyyy/mm/dd", or the date's own pieces when the
    // calendar has no such day (the arithmetic of cal::convertDateEng).
    QString ConvertDateEng(const QString& solarDate) const;

    void setColors(const SolarCalendarColors& colors);
    const SolarCalendarColors& colors() const { return m_colors; }

    // What the grid shows, for the picker and its tests: cells by row (0..5) and
    // column (0 = Saturday).
    QRect cellRect(int row, int column) const;
    QString cellText(int row, int column) const;
    bool cellEnabled(int row, int column) const;
    QRect headerRect() const;
    QComboBox* monthCombo() const { return m_monthCombo; }
    QSpinBox* yearField() const { return m_yearField; }

    static QString monthName(int month);     // 1..12
    static QString weekdayName(int column);  // 0 = Saturday

signals:
    void selectionChanged();
    // A day was double-clicked (the picker takes it as the pick).
    void dayActivated();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void select(const cal::Day& day);
    void syncCaption();
    void layoutCaption();
    int cellAt(const QPoint& pos) const;  // -1 outside the grid
    QRect gridRect() const;

    SolarCalendarColors m_colors;
    cal::Day m_selected{};
    std::optional<cal::Day> m_today;
    cal::MonthGrid m_grid;
    QComboBox* m_monthCombo = nullptr;
    QSpinBox* m_yearField = nullptr;
    bool m_syncing = false;
    int m_wheelAngle = 0;
};
