#pragma once
// The bouncing progress strip: a block that moves back and forth across the strip, one
// step per tick, for work whose length is not known. It shows that something happens,
// not how much is done.
#include <QColor>
#include <QWidget>

class BouncingProgressStrip : public QWidget {
    Q_OBJECT
public:
    explicit BouncingProgressStrip(QWidget* parent = nullptr);

    // Number of positions between the two ends (at least 1); the block stands at
    // position 0 at one end and at position steps() at the other.
    void setSteps(int steps);
    int steps() const { return m_steps; }
    // Block width in pixels.
    void setBlockWidth(int width);
    int blockWidth() const { return m_blockWidth; }
    // Positions moved per tick (at least 1).
    void setStep(int step);
    int step() const { return m_step; }
    void setBlockColor(const QColor& color);
    QColor blockColor() const { return m_blockColor; }
    void setBackColor(const QColor& color);
    QColor backColor() const { return m_backColor; }

    // Moves the block by one step, turning round at either end.
    void tick();
    // Current position, 0..steps().
    int position() const { return m_position; }
    // The block's rectangle within the strip as it is painted.
    QRect blockRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_steps = 5;
    int m_blockWidth = 200;
    int m_step = 1;
    int m_position = 0;
    int m_direction = 1;  // +1 towards steps(), -1 towards 0
    QColor m_blockColor = QColor(0, 0, 128);
    QColor m_backColor = QColor(255, 255, 255);
};
