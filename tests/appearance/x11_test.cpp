// What needs a real X display (the keyboard group, the bell) or a window manager (frames,
// title bars, placement): each test starts its own Xvfb, and openbox where it needs one,
// and skips where they are not installed. The window tests run in a child process of
// this test program on that display, since this one runs on the offscreen platform.
#include "app/mainform.h"
#include "connection/multiuserform.h"
#include "platform/beep.h"
#include "platform/keyboardlayouts.h"
#include "platform/x11desktop.h"
#include "tests/fixtures/windowmanagerready.h"
#include "tests/fixtures/xvfbsession.h"
#include "toolkit/boxwindow.h"
#include "toolkit/messageboardform.h"
#include "toolkit/messagedialog.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <functional>
#include <optional>
#include <gtest/gtest.h>
#include <poll.h>

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

TEST(XkbSymbols, GroupOfALayout) {
    const struct {
        const char* symbols;
        const char* layout;
        int group;  // -1: none
    } cases[] = {
        {"pc+us+ir:2+inet(evdev)", "ir", 1},
        {"pc+us+ir:2+inet(evdev)", "us", 0},
        {"pc+ir(pes_keypad)+us:2+inet(evdev)+group(alt_shift_toggle)", "ir", 0},
        {"pc+ir(pes_keypad)+us:2+inet(evdev)+group(alt_shift_toggle)", "us", 1},
        {"pc+us+inet(evdev)", "ir", -1},
        {"pc+de+us:2+ir:3", "ir", 2},
        // "irx" is not "ir", nor is an option "ir" without a group.
        {"pc+irx+us:2", "ir", -1},
        {"", "us", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.symbols) + " / " + c.layout);
        const std::optional<int> group = plat::xkbGroupOf(QString::fromLatin1(c.symbols), QString::fromLatin1(c.layout));
        EXPECT_EQ(group.value_or(-1), c.group);
    }
}

// Rings the bell through ring() and answers whether the server announced a bell to a
// second client listening on displayName (nullptr: DISPLAY).
bool bellHeard(const char* displayName, const std::function<void()>& ring) {
    Display* listener = XOpenDisplay(displayName);
    if (!listener)
        return false;
    int xkbEvent = 0, xkbError = 0, major = XkbMajorVersion, minor = XkbMinorVersion, opcode = 0;
    if (!XkbQueryExtension(listener, &opcode, &xkbEvent, &xkbError, &major, &minor)) {
        XCloseDisplay(listener);
        return false;
    }
    XkbSelectEvents(listener, XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask);
    XSync(listener, False);
    ring();
    bool rang = false;
    pollfd fd{ConnectionNumber(listener), POLLIN, 0};
    // The notification must come; the bound only keeps a broken server from hanging.
    while (!rang && (XPending(listener) > 0 || poll(&fd, 1, 10000) > 0)) {
        XEvent event;
        XNextEvent(listener, &event);
        rang = event.type == xkbEvent && reinterpret_cast<XkbEvent*>(&event)->any.xkb_type == XkbBellNotify;
    }
    XCloseDisplay(listener);
    return rang;
}

class OwnDisplay : public ::testing::Test {
protected:
    void SetUp() override {
        if (!m_session.ok())
            GTEST_SKIP() << m_session.skipReason().toStdString();
        m_display = XOpenDisplay(m_session.display().toLatin1().constData());
        ASSERT_NE(m_display, nullptr);
    }
    void TearDown() override {
        if (m_display)
            XCloseDisplay(m_display);
    }
    bool setLayouts(const QString& layouts) {
        if (QStandardPaths::findExecutable(QStringLiteral("setxkbmap")).isEmpty())
            return false;
        QProcess setxkbmap;
        setxkbmap.start(QStringLiteral("setxkbmap"), {QStringLiteral("-display"), m_session.display(),
                                                      QStringLiteral("-layout"), layouts});
        return setxkbmap.waitForFinished(20000) && setxkbmap.exitCode() == 0;
    }

    XvfbSession m_session;
    Display* m_display = nullptr;
};

TEST_F(OwnDisplay, PersianAndEnglishSwitchTheKeyboardGroup) {
    if (!setLayouts(QStringLiteral("us,ir")))
        GTEST_SKIP() << "setxkbmap (x11-xkb-utils) is not installed";
    EXPECT_TRUE(plat::xkbSymbols(m_display).contains(QLatin1String("ir:2")));
    EXPECT_TRUE(plat::lockXkbLayout(m_display, QStringLiteral("ir")));
    EXPECT_EQ(plat::xkbLockedGroup(m_display), 1);
    EXPECT_TRUE(plat::lockXkbLayout(m_display, QStringLiteral("us")));
    EXPECT_EQ(plat::xkbLockedGroup(m_display), 0);

    // A map without a Persian group: the keyboard stays as it is.
    ASSERT_TRUE(setLayouts(QStringLiteral("us")));
    EXPECT_FALSE(plat::lockXkbLayout(m_display, QStringLiteral("ir")));
    EXPECT_EQ(plat::xkbLockedGroup(m_display), 0);
}

TEST_F(OwnDisplay, BellRingsOnTheDisplay) {
    EXPECT_TRUE(bellHeard(m_session.display().toLatin1().constData(), [this] { plat::ringX11Bell(m_display); }));
}

// ---- Windows under a window manager, run by the child process.

bool inChild() { return qEnvironmentVariableIsSet("BVT_X11_CHILD"); }

// The frame the window manager drew around the window: left, right, top, bottom.
std::vector<long> frameExtents(QWidget* window) {
    Display* display = plat::qtX11Display();
    const Atom extents = XInternAtom(display, "_NET_FRAME_EXTENTS", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<long> result;
    if (XGetWindowProperty(display, static_cast<Window>(window->winId()), extents, 0, 4, False, XA_CARDINAL, &type,
                           &format, &count, &after, &data) == Success &&
        data) {
        const auto* values = reinterpret_cast<const long*>(data);
        result.assign(values, values + count);
        XFree(data);
    }
    return result;
}

// The window manager's frame window of a client: its ancestor right below the root.
Window frameWindowOf(Display* display, Window client) {
    Window w = client;
    for (;;) {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display, w, &root, &parent, &children, &count))
            return 0;
        if (children)
            XFree(children);
        if (parent == root || parent == 0)
            return w;
        w = parent;
    }
}

// Where the user sees the window on its first showing, as the X server has it: the
// outer rectangle of the frame once the window manager has taken the window in (the
// window is listed as managed and its frame is mapped). Waited for on the server's
// events; the result is read once, so a window that is moved after it shows fails.
std::optional<QRect> managedFrame(QWidget* window) {
    Display* display = plat::qtX11Display();
    const auto client = static_cast<Window>(window->winId());
    Window frame = 0;
    const bool managed = waitOnXEvents([&] {
        frame = frameWindowOf(display, client);
        XWindowAttributes attributes{};
        return frame != 0 && frame != client && listedByWindowManager(display, client) &&
               XGetWindowAttributes(display, frame, &attributes) && attributes.map_state == IsViewable;
    },
                                       {client}, 15000);
    if (!managed)
        return std::nullopt;
    Window root = 0;
    int x = 0, y = 0;
    unsigned int width = 0, height = 0, border = 0, depth = 0;
    if (!XGetGeometry(display, frame, &root, &x, &y, &width, &height, &border, &depth))
        return std::nullopt;
    return QRect(x, y, int(width + 2 * border), int(height + 2 * border));
}

bool hasLatinLetter(const QString& text) {
    for (QChar c : text)
        if (c.isLetter() && c.script() == QChar::Script_Latin)
            return true;
    return false;
}

class X11Child : public ::testing::Test {
protected:
    void SetUp() override {
        if (!inChild())
            GTEST_SKIP() << "runs in the child process of X11Windows.UnderOpenbox";
        ASSERT_NE(plat::qtX11Display(), nullptr);
    }
};

TEST_F(X11Child, MainAndCustomerWindowsHaveABorderWithoutTitleBar) {
    TMainForm main;
    TMultiUserForm customers;
    for (QWidget* window : {static_cast<QWidget*>(&main), static_cast<QWidget*>(&customers)}) {
        SCOPED_TRACE(window->objectName().toStdString());
        window->show();
        const std::optional<QRect> outer = managedFrame(window);
        ASSERT_TRUE(outer) << "openbox did not take the window in";
        const std::vector<long> frame = frameExtents(window);
        ASSERT_EQ(frame.size(), 4u);
        // A title bar (and with it the window manager's buttons) would make the top
        // of the frame taller than its sides.
        EXPECT_EQ(frame[2], frame[0]);
        EXPECT_GT(frame[0], 0);
        EXPECT_EQ(outer->size(), window->size() + QSize(int(frame[0] + frame[1]), int(frame[2] + frame[3])));
        EXPECT_FALSE(hasLatinLetter(window->windowHandle()->title()));
        // Centred by the frame on its first showing, not where openbox would put it.
        const QPoint centre = window->screen()->availableGeometry().center();
        EXPECT_LE((outer->center() - centre).manhattanLength(), 1)
            << "frame centre " << outer->center().x() << "," << outer->center().y() << ", screen centre "
            << centre.x() << "," << centre.y();
        window->hide();
    }
}

TEST_F(X11Child, BoardTitleBarOnScreenOnTheFirstShowing) {
    TMessageBoardForm board;
    board.StartRecording(true, QStringLiteral("گزارش"));
    const int screenHeight = board.screen()->geometry().height();
    const std::optional<QRect> outer = managedFrame(&board);
    ASSERT_TRUE(outer) << "openbox did not take the window in";
    EXPECT_EQ(outer->top(), 0);
    EXPECT_EQ(outer->height(), screenHeight - 40);
    // The title bar is there, with the report's title.
    const std::vector<long> frame = frameExtents(&board);
    ASSERT_EQ(frame.size(), 4u);
    EXPECT_GT(frame[2], frame[0]);
}

TEST_F(X11Child, BoxWindowsHaveTheirHeightsFrameIncluded) {
    for (BoxKind kind : {BoxKind::Small, BoxKind::Big, BoxKind::Color}) {
        TBoxWindow box(kind, 0x00FFFFFF);
        box.showCentred();
        const std::optional<QRect> outer = managedFrame(&box);
        ASSERT_TRUE(outer) << "openbox did not take the window in";
        EXPECT_EQ(outer->height(), TBoxWindow::outerHeight(kind));
        EXPECT_LE((outer->center() - box.screen()->availableGeometry().center()).manhattanLength(), 1);
    }
}

TEST_F(X11Child, MessageDialogCentredOnItsFirstShowing) {
    // Sized by the message box only as it shows, after the frame was asked for.
    MessageDialogSetup setup;
    setup.icon = QMessageBox::Information;
    setup.caption = QStringLiteral("پيام");
    setup.text = QStringLiteral("عمليات با موفقيت انجام شد");
    setup.buttons = {{QStringLiteral("تاييد"), 1}};
    TMessageDialog dialog(setup);
    dialog.show();
    const std::optional<QRect> outer = managedFrame(&dialog);
    ASSERT_TRUE(outer) << "openbox did not take the window in";
    const std::vector<long> frame = frameExtents(&dialog);
    ASSERT_EQ(frame.size(), 4u);
    EXPECT_EQ(outer->size(), dialog.size() + QSize(int(frame[0] + frame[1]), int(frame[2] + frame[3])));
    EXPECT_LE((outer->center() - dialog.screen()->availableGeometry().center()).manhattanLength(), 1)
        << "frame centre " << outer->center().x() << "," << outer->center().y();
}

TEST_F(X11Child, FrameIsAnnouncedBeforeTheFirstMap) {
    // The answer before the map is the frame openbox draws once it maps the window.
    QWidget titled;
    titled.setFixedSize(200, 100);
    QWidget bordered;
    bordered.setFixedSize(200, 100);
    plat::useBorderOnlyFrame(&bordered);
    for (QWidget* window : {&titled, &bordered}) {
        window->winId();
        const std::optional<QMargins> before = plat::x11FrameExtents(window, true);
        ASSERT_TRUE(before);
        EXPECT_GT(before->left(), 0);
        window->show();
        ASSERT_TRUE(managedFrame(window));
        const std::vector<long> after = frameExtents(window);
        ASSERT_EQ(after.size(), 4u);
        EXPECT_EQ(*before, QMargins(int(after[0]), int(after[2]), int(after[1]), int(after[3])));
    }
    EXPECT_GT(plat::x11FrameExtents(&titled, false)->top(), plat::x11FrameExtents(&bordered, false)->top());
}

TEST_F(X11Child, MessageBeepRingsTheDisplaysBell) {
    // Not a terminal's bell: standard error is a pipe here.
    EXPECT_TRUE(bellHeard(nullptr, [] { plat::messageBeep(); }));
}

TEST(X11Windows, UnderOpenbox) {
    if (inChild())
        GTEST_SKIP() << "the child itself";
    XvfbSession session(true);
    if (!session.ok())
        GTEST_SKIP() << session.skipReason().toStdString();
    QProcess child;
    QProcessEnvironment env = session.environment();
    env.insert(QStringLiteral("BVT_X11_CHILD"), QStringLiteral("1"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=X11Child.*")});
    ASSERT_TRUE(child.waitForFinished(120000));
    const QString output = QString::fromLocal8Bit(child.readAll());
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_FALSE(output.contains(QLatin1String("[  SKIPPED ]"))) << output.toStdString();
    // A filter that matched nothing would pass as well.
    EXPECT_FALSE(output.contains(QLatin1String("0 tests from 0 test suites ran"))) << output.toStdString();
    EXPECT_TRUE(output.contains(QLatin1String("[  PASSED  ]"))) << output.toStdString();
}

}  // namespace
