#include "framedplacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QWidget>

namespace plat {

namespace {

QMargins frameMargins(const QWidget* w) {
    const QRect frame = w->frameGeometry();
    const QRect client = w->geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

// Lives as a child of the window it places and repeats the latest placement whenever
// the window is shown and whenever the frame margins differ from those it was made
// with. Moves after that (the user's) leave the margins as they are and are kept.
class FramePlacer : public QObject {
public:
    enum class Mode { Centre, Top };

    explicit FramePlacer(QWidget* window) : QObject(window), m_window(window) {
        setObjectName(QStringLiteral("FramePlacer"));
        window->installEventFilter(this);
    }

    static FramePlacer* of(QWidget* window) {
        auto* placer = window->findChild<FramePlacer*>(QStringLiteral("FramePlacer"), Qt::FindDirectChildrenOnly);
        return placer ? placer : new FramePlacer(window);
    }

    void place(Mode mode, int outerHeight) {
        m_mode = mode;
        m_outerHeight = outerHeight;
        // The left edge the top placement keeps: where the frame stands now.
        m_left = m_window->frameGeometry().left();
        apply();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Show:
            // The platform may have placed the window while showing it.
            apply();
            break;
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Paint:
            if (frameMargins(m_window) != m_margins)
                apply();
            break;
        default:
            break;
        }
        return false;
    }

private:
    void apply() {
        m_margins = frameMargins(m_window);
        const QScreen* screen = m_window->screen() ? m_window->screen() : QGuiApplication::primaryScreen();
        if (m_outerHeight > 0) {
            const int client = m_outerHeight - m_margins.top() - m_margins.bottom();
            if (client > 0 && client != m_window->height())
                m_window->setFixedHeight(client);
        }
        QRect frame = m_window->frameGeometry();
        if (m_mode == Mode::Centre && screen)
            frame.moveCenter(screen->availableGeometry().center());
        else if (m_mode == Mode::Top)
            frame.moveTopLeft(QPoint(m_left, screen ? screen->geometry().top() : 0));
        // Moved even to where the frame seems to be already: before the platform
        // window is shown, the frame's place it reports is not yet the one it takes.
        m_window->move(frame.topLeft());
    }

    QWidget* m_window;
    Mode m_mode = Mode::Centre;
    int m_outerHeight = 0;
    QMargins m_margins;
    int m_left = 0;
};

}  // namespace

void centreFrameOnScreen(QWidget* window, int outerHeight) {
    FramePlacer::of(window)->place(FramePlacer::Mode::Centre, outerHeight);
}

void placeFrameAtTop(QWidget* window, int outerHeight) {
    FramePlacer::of(window)->place(FramePlacer::Mode::Top, outerHeight);
}

}  // namespace plat
