#include "gradientbutton.h"

#include <QLinearGradient>
#include <QPainter>

GradientButton::GradientButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
    setFlat(true);
    setFocusPolicy(Qt::NoFocus);
    setAutoDefault(false);
}

void GradientButton::setColors(const QColor& start, const QColor& end, const QColor& hot) {
    m_start = start;
    m_end = end;
    m_hot = hot;
    update();
}

void GradientButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor far = m_underMouse && isEnabled() ? m_hot : m_end;
    QLinearGradient gradient(0, 0, width(), 0);
    gradient.setColorAt(0, isDown() ? far : m_start);
    gradient.setColorAt(1, isDown() ? m_start : far);
    p.fillRect(rect(), gradient);
    p.setPen(m_end.darker(150));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setPen(isEnabled() ? palette().color(QPalette::ButtonText) : QColor(Qt::gray));
    p.drawText(rect(), Qt::AlignCenter | Qt::TextShowMnemonic, text());
}

void GradientButton::enterEvent(QEnterEvent* event) {
    m_underMouse = true;
    update();
    QPushButton::enterEvent(event);
}

void GradientButton::leaveEvent(QEvent* event) {
    m_underMouse = false;
    update();
    QPushButton::leaveEvent(event);
}
