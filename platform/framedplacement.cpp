#include "framedplacement.h"

#include "x11desktop.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <optional>

namespace plat {

namespace {

// The frame as Qt knows it. Under X11 Qt learns it late, and for a window the manager
// does not move when framing it, sometimes not at all.
QMargins qtFrameMargins(const QWidget* w) {
    const QRect frame = w->frameGeometry();
    const QRect client = w->geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

// Lives as a child of the window it places and makes the latest placement again each
// time the window is shown. Under an X11 window manager that tells the frame before the
// window is mapped, the placement is made from that frame just before the map, so the
// manager frames the window where it was put and nothing moves it afterwards. Elsewhere
// the placement is made again whenever the frame Qt reports differs from the one it
// was made with. Moves after that (the user's) keep the frame as it is and are kept.
class FramePlacer : public QObject {
public:
    enum class Mode {
        Centre,
        Top
    };

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
        m_left = m_window->geometry().left() - margins().left();
        apply();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Show:
            // Sent before the platform maps the window; a show the window system reports
            // (a restored window) leaves the window where it was.
            if (!event->spontaneous())
                apply();
            break;
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Paint:
            if (!m_fromWindowManager && qtFrameMargins(m_window) != m_margins)
                apply();
            break;
        default:
            break;
        }
        return false;
    }

private:
    // The frame the window is placed by: the window manager's answer where there is one,
    // else what Qt reports. The manager answers for windows it does not manage, so it is
    // asked until Qt maps the window (the native window shows only after the Show
    // event); once mapped, the frame is read from the window.
    QMargins margins() {
        const QWindow* handle = m_window->windowHandle();
        const std::optional<QMargins> wm = x11FrameExtents(m_window, !(handle && handle->isVisible()));
        m_fromWindowManager = wm.has_value();
        return wm ? *wm : qtFrameMargins(m_window);
    }

    void apply() {
        m_margins = margins();
        const QScreen* screen = m_window->screen() ? m_window->screen() : QGuiApplication::primaryScreen();
        if (m_outerHeight > 0) {
            const int client = m_outerHeight - m_margins.top() - m_margins.bottom();
            if (client > 0 && client != m_window->height())
                m_window->setFixedHeight(client);
        }
        const QSize client = m_window->size();
        QRect frame(QPoint(), client.grownBy(m_margins));
        if (m_mode == Mode::Centre && screen)
            frame.moveCenter(screen->availableGeometry().center());
        else if (m_mode == Mode::Top)
            frame.moveTopLeft(QPoint(m_left, screen ? screen->geometry().top() : 0));
        // Placed by the client area: under X11 the manager then keeps the client where
        // it is and draws the frame around it (static gravity).
        m_window->setGeometry(QRect(frame.topLeft() + QPoint(m_margins.left(), m_margins.top()), client));
    }

    QWidget* m_window;
    Mode m_mode = Mode::Centre;
    int m_outerHeight = 0;
    QMargins m_margins;
    bool m_fromWindowManager = false;
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
