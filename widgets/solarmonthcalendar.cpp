#include "solarmonthcalendar.h"

#include "calendar/calendarconversion.h"

#include <QComboBox>
#include <QDate>
#include <QKeyEvent>
#include <QPainter>
#include <QSpinBox>

namespace {

constexpr int kCaptionHeight = 26;
constexpr int kHeaderHeight = 20;
constexpr int kMonthComboWidth = 92;
constexpr int kYearFieldWidth = 64;
constexpr int kFieldHeight = 22;
constexpr int kFieldGap = 4;
constexpr int kWheelStep = 120;  // one notch of a common mouse wheel

// Today from the clock, the way the toolkit computes its today; the astronomical date
// should that text ever not be a day of the calendar.
cal::Day clockToday() {
    const QDate now = QDate::currentDate();
    if (const auto d = cal::parseDay(cal::solarDateOfDay(now)))
        return *d;
    const auto s = cal::daysToSolar(cal::daysFromCivil(now.year(), now.month(), now.day()));
    return s ? cal::Day{s->year, s->month, s->day} : cal::Day{1400, 1, 1};
}

}  // namespace

TSolarMonthCalendar::TSolarMonthCalendar(QWidget* parent) : QWidget(parent) {
    setLayoutDirection(Qt::RightToLeft);
    setFocusPolicy(Qt::StrongFocus);
    resize(322, 195);

    m_monthCombo = new QComboBox(this);
    m_monthCombo->setObjectName(QStringLiteral("MonthCombo"));
    for (int m = 1; m <= 12; ++m)
        m_monthCombo->addItem(monthName(m));
    m_yearField = new QSpinBox(this);
    m_yearField->setObjectName(QStringLiteral("YearField"));
    m_yearField->setRange(cal::kFirstCalendarYear, cal::kLastCalendarYear);
    m_yearField->setAlignment(Qt::AlignCenter);
    connect(m_monthCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_syncing)
            goToMonth(index + 1);
    });
    connect(m_yearField, &QSpinBox::valueChanged, this, [this](int year) {
        if (!m_syncing)
            goToYear(year);
    });

    m_today = clockToday();
    m_selected = *m_today;
    m_grid = cal::MonthGrid::of(m_selected.year, m_selected.month);
    syncCaption();
    layoutCaption();
}

void TSolarMonthCalendar::setToday(const QString& solarDate) {
    m_today = cal::parseDay(solarDate);
    if (m_today)
        select(*m_today);
    update();
}

QString TSolarMonthCalendar::today() const { return m_today ? cal::dayText(*m_today, u"/") : QString(); }

void TSolarMonthCalendar::goToYear(int year) { select(cal::goToYear(m_selected, year)); }

void TSolarMonthCalendar::goToMonth(int month) { select(cal::goToMonth(m_selected, month)); }

void TSolarMonthCalendar::goToDay(int day) { select(cal::goToDay(m_selected, day)); }

void TSolarMonthCalendar::setSelected(const cal::Day& day) {
    if (cal::isOffered(day))
        select(day);
}

QString TSolarMonthCalendar::selectedDate(QStringView separator) const { return cal::dayText(m_selected, separator); }

QString TSolarMonthCalendar::ConvertDateEng(const QString& solarDate) const { return cal::convertDateEng(solarDate); }

void TSolarMonthCalendar::setColors(const SolarCalendarColors& colors) {
    m_colors = colors;
    update();
}

QString TSolarMonthCalendar::monthName(int month) {
    static const QString names[] = {
        QStringLiteral("فروردين"),
        QStringLiteral("ارديبهشت"),
        QStringLiteral("خرداد"),
        QStringLiteral("تير"),
        QStringLiteral("مرداد"),
        QStringLiteral("شهريور"),
        QStringLiteral("مهر"),
        QStringLiteral("آبان"),
        QStringLiteral("آذر"),
        QStringLiteral("دي"),
        QStringLiteral("بهمن"),
        QStringLiteral("اسفند")};
    return month >= 1 && month <= 12 ? names[month - 1] : QString();
}

QString TSolarMonthCalendar::weekdayName(int column) {
    static const QString names[] = {
        QStringLiteral("شنبه"),
        QStringLiteral("يكشنبه"),
        QStringLiteral("دوشنبه"),
        QStringLiteral("سه شنبه"),
        QStringLiteral("چهارشنبه"),
        QStringLiteral("پنجشنبه"),
        QStringLiteral("جمعه")};
    return column >= 0 && column < cal::kWeekColumns ? names[column] : QString();
}

void TSolarMonthCalendar::select(const cal::Day& day) {
    if (!cal::isOffered(day))
        return;
    const bool changed = !(day == m_selected);
    if (day.year != m_grid.year || day.month != m_grid.month)
        m_grid = cal::MonthGrid::of(day.year, day.month);
    m_selected = day;
    syncCaption();
    update();
    if (changed)
        emit selectionChanged();
}

void TSolarMonthCalendar::syncCaption() {
    m_syncing = true;
    m_monthCombo->setCurrentIndex(m_selected.month - 1);
    m_yearField->setValue(m_selected.year);
    m_syncing = false;
}

void TSolarMonthCalendar::layoutCaption() {
    // The month to the right of the year, both centred in the caption bar.
    const int total = kYearFieldWidth + kFieldGap + kMonthComboWidth;
    const int x = (width() - total) / 2;
    const int y = (kCaptionHeight - kFieldHeight) / 2;
    m_yearField->setGeometry(x, y, kYearFieldWidth, kFieldHeight);
    m_monthCombo->setGeometry(x + kYearFieldWidth + kFieldGap, y, kMonthComboWidth, kFieldHeight);
}

QRect TSolarMonthCalendar::gridRect() const {
    const int top = kCaptionHeight + kHeaderHeight;
    const int rowHeight = (height() - top) / cal::kWeekRows;
    return QRect(0, top, width(), rowHeight * cal::kWeekRows);
}

QRect TSolarMonthCalendar::headerRect() const { return QRect(0, kCaptionHeight, width(), kHeaderHeight); }

QRect TSolarMonthCalendar::cellRect(int row, int column) const {
    const QRect g = gridRect();
    const int rowHeight = g.height() / cal::kWeekRows;
    // Column 0 (Saturday) at the reading start: the right edge when right to left.
    const int visual = layoutDirection() == Qt::RightToLeft ? cal::kWeekColumns - 1 - column : column;
    const int left = visual * width() / cal::kWeekColumns;
    const int right = (visual + 1) * width() / cal::kWeekColumns;
    return QRect(left, g.top() + row * rowHeight, right - left, rowHeight);
}

QString TSolarMonthCalendar::cellText(int row, int column) const {
    const int cell = row * cal::kWeekColumns + column;
    const int day = m_grid.dayAt(cell);
    const int shown = day != 0 ? day : m_grid.neighbourDayAt(cell);
    return shown != 0 ? QString::number(shown) : QString();
}

bool TSolarMonthCalendar::cellEnabled(int row, int column) const {
    return m_grid.dayAt(row * cal::kWeekColumns + column) != 0;
}

int TSolarMonthCalendar::cellAt(const QPoint& pos) const {
    for (int row = 0; row < cal::kWeekRows; ++row) {
        for (int column = 0; column < cal::kWeekColumns; ++column) {
            if (cellRect(row, column).contains(pos))
                return row * cal::kWeekColumns + column;
        }
    }
    return -1;
}

void TSolarMonthCalendar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), m_colors.background);
    p.fillRect(QRect(0, 0, width(), kCaptionHeight), m_colors.caption);

    // Weekday names; one colour for every weekday.
    p.setPen(m_colors.cellText);
    for (int column = 0; column < cal::kWeekColumns; ++column) {
        const QRect c = cellRect(0, column);
        const QRect h(c.left(), kCaptionHeight, c.width(), kHeaderHeight);
        p.fillRect(h.adjusted(0, 0, 0, -1), m_colors.firstRow);
        p.drawText(h, Qt::AlignCenter, weekdayName(column));
    }

    QFont bold = font();
    bold.setBold(true);
    for (int row = 0; row < cal::kWeekRows; ++row) {
        for (int column = 0; column < cal::kWeekColumns; ++column) {
            const QRect c = cellRect(row, column);
            const QRect inner = c.adjusted(1, 1, -1, -1);  // a line of background between cells
            const int day = m_grid.dayAt(row * cal::kWeekColumns + column);
            if (day == 0) {
                p.setFont(font());
                p.setPen(m_colors.disabledCell);
                p.drawText(c, Qt::AlignCenter, cellText(row, column));
                continue;
            }
            p.fillRect(inner, m_colors.secondRow);
            const cal::Day d{m_grid.year, m_grid.month, day};
            if (m_today && *m_today == d) {
                p.setPen(m_colors.cellText);
                p.drawRect(inner.adjusted(1, 1, -1, -1));
            }
            const bool isSelected = d == m_selected;
            if (isSelected) {
                p.setPen(m_colors.selectedCellText);
                p.drawRect(inner.adjusted(0, 0, -1, -1));
                if (hasFocus())
                    p.drawRect(inner.adjusted(2, 2, -3, -3));
            }
            p.setFont(isSelected ? bold : font());
            p.setPen(isSelected ? m_colors.selectedCellText : m_colors.cellText);
            p.drawText(c, Qt::AlignCenter, QString::number(day));
        }
    }
}

void TSolarMonthCalendar::keyPressEvent(QKeyEvent* event) {
    // Left and Right follow the reading order: right to left, Left is the next day.
    const int forward = layoutDirection() == Qt::RightToLeft ? 1 : -1;
    const bool control = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Left: select(cal::addDays(m_selected, forward)); break;
    case Qt::Key_Right: select(cal::addDays(m_selected, -forward)); break;
    case Qt::Key_Up: select(cal::addDays(m_selected, -cal::kWeekColumns)); break;
    case Qt::Key_Down: select(cal::addDays(m_selected, cal::kWeekColumns)); break;
    case Qt::Key_PageUp: select(control ? cal::addYears(m_selected, -1) : cal::addMonths(m_selected, -1)); break;
    case Qt::Key_PageDown: select(control ? cal::addYears(m_selected, 1) : cal::addMonths(m_selected, 1)); break;
    case Qt::Key_Home: goToDay(1); break;
    case Qt::Key_End: goToDay(m_grid.length); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

void TSolarMonthCalendar::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    const int cell = cellAt(event->position().toPoint());
    // Cells of the neighbouring months are disabled.
    if (event->button() == Qt::LeftButton && cell >= 0 && m_grid.dayAt(cell) != 0)
        select({m_grid.year, m_grid.month, m_grid.dayAt(cell)});
}

void TSolarMonthCalendar::mouseDoubleClickEvent(QMouseEvent* event) {
    const int cell = cellAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || cell < 0 || m_grid.dayAt(cell) == 0)
        return;
    select({m_grid.year, m_grid.month, m_grid.dayAt(cell)});
    emit dayActivated();
}

void TSolarMonthCalendar::wheelEvent(QWheelEvent* event) {
    // Away from the user goes back a month, as scrolling up goes back in a list.
    m_wheelAngle += event->angleDelta().y();
    while (m_wheelAngle >= kWheelStep) {
        m_wheelAngle -= kWheelStep;
        select(cal::addMonths(m_selected, -1));
    }
    while (m_wheelAngle <= -kWheelStep) {
        m_wheelAngle += kWheelStep;
        select(cal::addMonths(m_selected, 1));
    }
    event->accept();
}

void TSolarMonthCalendar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutCaption();
}
