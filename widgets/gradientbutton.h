#pragma once
// Flat gradient button of the widget set: a horizontal gradient from the start colour
// (white) on the left to the end colour on the right, the hot colour in place of the
// end colour under the mouse, the gradient reversed while pressed. It takes no
// keyboard focus, so keys stay with the form's input control.
#include <QColor>
#include <QPushButton>

class GradientButton : public QPushButton {
    Q_OBJECT
public:
    explicit GradientButton(const QString& caption = {}, QWidget* parent = nullptr);

    void setColors(const QColor& start, const QColor& end, const QColor& hot);
    QColor startColor() const { return m_start; }
    QColor endColor() const { return m_end; }
    QColor hotColor() const { return m_hot; }
    bool isHot() const { return m_underMouse; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QColor m_start{Qt::white};
    QColor m_end{Qt::lightGray};
    QColor m_hot{Qt::yellow};
    bool m_underMouse = false;
};
