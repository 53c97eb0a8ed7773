#include "bouncingprogressstrip.h"

#include <QPainter>
#include <algorithm>

BouncingProgressStrip::BouncingProgressStrip(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BouncingProgressStrip::setSteps(int steps) {
    m_steps = std::max(1, steps);
    m_position = std::min(m_position, m_steps);
    update();
}

void BouncingProgressStrip::setBlockWidth(int width) {
    m_blockWidth = std::max(1, width);
    update();
}

void BouncingProgressStrip::setStep(int step) { m_step = std::max(1, step); }

void BouncingProgressStrip::setBlockColor(const QColor& color) {
    m_blockColor = color;
    update();
}

void BouncingProgressStrip::setBackColor(const QColor& color) {
    m_backColor = color;
    update();
}

void BouncingProgressStrip::tick() {
    int next = m_position + m_direction * m_step;
    if (next >= m_steps) {
        next = m_steps;
        m_direction = -1;
    } else if (next <= 0) {
        next = 0;
        m_direction = 1;
    }
    if (next != m_position) {
        m_position = next;
        update();
    }
}

QRect BouncingProgressStrip::blockRect() const {
    const int travel = std::max(0, width() - m_blockWidth);  // pixels the block can move
    int left = travel * m_position / m_steps;
    if (layoutDirection() == Qt::RightToLeft)
        left = travel - left;
    return QRect(left, 0, std::min(m_blockWidth, width()), height());
}

void BouncingProgressStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_backColor);
    painter.fillRect(blockRect(), m_blockColor);
}
