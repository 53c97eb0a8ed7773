#include "x11desktop.h"

#include <QGuiApplication>
#include <QStringList>
#include <QWidget>
#include <QWindow>

#include <poll.h>

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace plat {

Display* qtX11Display() {
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app || QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

std::optional<int> xkbGroupOf(const QString& symbols, const QString& layout) {
    const QStringList parts = symbols.split(u'+', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        const qsizetype colon = part.indexOf(u':');
        const QString name = (colon < 0 ? part : part.left(colon));
        // "ir" and "ir(pes_keypad)" are both the layout ir.
        const QString base = name.left(name.indexOf(u'('));
        if (base != layout)
            continue;
        if (colon >= 0) {
            bool ok = false;
            const int group = part.mid(colon + 1).toInt(&ok);
            if (ok && group >= 1 && group <= XkbNumKbdGroups)
                return group - 1;
            continue;
        }
        if (i == 1 && parts.first().startsWith(QLatin1String("pc")))
            return 0;
        if (i == 0)
            return 0;
    }
    return std::nullopt;
}

QString xkbSymbols(Display* display) {
    if (!display)
        return {};
    XkbDescPtr desc = XkbAllocKeyboard();
    if (!desc)
        return {};
    QString symbols;
    if (XkbGetNames(display, XkbSymbolsNameMask, desc) == Success && desc->names && desc->names->symbols) {
        if (char* name = XGetAtomName(display, desc->names->symbols)) {
            symbols = QString::fromLatin1(name);
            XFree(name);
        }
    }
    XkbFreeKeyboard(desc, 0, True);
    return symbols;
}

bool lockXkbLayout(Display* display, const QString& layout) {
    const std::optional<int> group = xkbGroupOf(xkbSymbols(display), layout);
    if (!group)
        return false;
    XkbLockGroup(display, XkbUseCoreKbd, static_cast<unsigned>(*group));
    XFlush(display);
    return true;
}

int xkbLockedGroup(Display* display) {
    XkbStateRec state{};
    if (!display || XkbGetState(display, XkbUseCoreKbd, &state) != Success)
        return -1;
    return state.locked_group;
}

void ringX11Bell(Display* display) {
    if (!display)
        return;
    XBell(display, 0);
    XFlush(display);
}

void useBorderOnlyFrame(QWidget* window) {
    Display* display = qtX11Display();
    if (!display || !window)
        return;
    // The Motif hints' layout: flags, functions, decorations, input mode, status.
    constexpr unsigned long kFunctions = 1, kDecorations = 2;
    constexpr unsigned long kFuncMove = 4, kDecorBorder = 2;
    const unsigned long hints[5] = {kFunctions | kDecorations, kFuncMove, kDecorBorder, 0, 0};
    const Atom motif = XInternAtom(display, "_MOTIF_WM_HINTS", False);
    const auto id = static_cast<Window>(window->winId());
    XChangeProperty(display, id, motif, motif, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(hints), 5);
    XFlush(display);
}

namespace {

bool wmSupports(Display* d, Atom feature) {
    const Atom supported = XInternAtom(d, "_NET_SUPPORTED", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool found = false;
    if (XGetWindowProperty(d, DefaultRootWindow(d), supported, 0, 4096, False, XA_ATOM, &type, &format, &count,
                           &after, &data) == Success &&
        data && format == 32)
        for (unsigned long k = 0; k < count && !found; ++k)
            found = reinterpret_cast<const Atom*>(data)[k] == feature;
    if (data)
        XFree(data);
    return found;
}

std::optional<QMargins> readExtents(Display* d, Window w, Atom extents) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::optional<QMargins> result;
    if (XGetWindowProperty(d, w, extents, 0, 4, False, XA_CARDINAL, &type, &format, &count, &after, &data) == Success &&
        data && format == 32 && count == 4) {
        // Left, right, top, bottom.
        const auto* v = reinterpret_cast<const long*>(data);
        result = QMargins(int(v[0]), int(v[2]), int(v[1]), int(v[3]));
    }
    if (data)
        XFree(data);
    return result;
}

// Asks the window manager for the frame of w and waits for the property it sets in
// answer; the bound only keeps a manager that never answers from hanging the program.
void requestExtents(Display* d, Window w, Atom extents) {
    XSelectInput(d, w, PropertyChangeMask);
    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = w;
    request.xclient.message_type = XInternAtom(d, "_NET_REQUEST_FRAME_EXTENTS", False);
    request.xclient.format = 32;
    XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask, &request);
    XFlush(d);
    for (;;) {
        pollfd fd{ConnectionNumber(d), POLLIN, 0};
        if (XPending(d) == 0 && poll(&fd, 1, 5000) <= 0)
            return;
        XEvent event;
        XNextEvent(d, &event);
        if (event.type == PropertyNotify && event.xproperty.window == w && event.xproperty.atom == extents &&
            event.xproperty.state == PropertyNewValue)
            return;
    }
}

}  // namespace

std::optional<QMargins> x11FrameExtents(QWidget* window, bool ask) {
    Display* qt = qtX11Display();
    if (!qt || !window || !window->testAttribute(Qt::WA_WState_Created))
        return std::nullopt;
    const auto id = static_cast<Window>(window->winId());
    // A connection of its own: waiting on Qt's would take Qt's events away from it.
    Display* d = XOpenDisplay(DisplayString(qt));
    if (!d)
        return std::nullopt;
    const Atom extents = XInternAtom(d, "_NET_FRAME_EXTENTS", False);
    std::optional<QMargins> result;
    if (wmSupports(d, extents)) {
        if (ask && wmSupports(d, XInternAtom(d, "_NET_REQUEST_FRAME_EXTENTS", False))) {
            // The manager reads the window's hints (the border-only decorations, a fixed
            // size) when it answers: Qt's requests reach the server first.
            XSync(qt, False);
            requestExtents(d, id, extents);
        }
        result = readExtents(d, id, extents);
    }
    XCloseDisplay(d);
    return result;
}

}  // namespace plat
