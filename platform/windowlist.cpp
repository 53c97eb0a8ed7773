#include "windowlist.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>
#include <memory>

namespace plat {

namespace {

struct DisplayCloser {
    void operator()(Display* d) const { XCloseDisplay(d); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

// Failed requests on windows that vanish meanwhile are expected; Xlib's default
// handler would end the program.
int ignoreErrors(Display*, XErrorEvent*) { return 0; }

DisplayPtr openDisplay() {
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name)
        return {};
    DisplayPtr d(XOpenDisplay(name));
    if (d)
        XSetErrorHandler(ignoreErrors);
    return d;
}

// A property's items (format 32 as longs, else bytes); empty when absent.
struct Property {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    std::unique_ptr<unsigned char, int (*)(void*)> data{nullptr, XFree};
};

Property readProperty(Display* d, Window w, Atom name, Atom type = AnyPropertyType) {
    Property p;
    unsigned long after = 0;
    unsigned char* raw = nullptr;
    if (XGetWindowProperty(d, w, name, 0, 1 << 20, False, type, &p.type, &p.format, &p.count, &after, &raw) == Success)
        p.data.reset(raw);
    else
        p.count = 0;
    return p;
}

Atom atom(Display* d, const char* name) { return XInternAtom(d, name, False); }

QString textProperty(Display* d, Window w) {
    const Property utf8 = readProperty(d, w, atom(d, "_NET_WM_NAME"), atom(d, "UTF8_STRING"));
    if (utf8.count > 0 && utf8.format == 8)
        return QString::fromUtf8(reinterpret_cast<const char*>(utf8.data.get()), static_cast<qsizetype>(utf8.count));
    const Property plain = readProperty(d, w, XA_WM_NAME);
    if (plain.count > 0 && plain.format == 8)
        return QString::fromLatin1(reinterpret_cast<const char*>(plain.data.get()), static_cast<qsizetype>(plain.count));
    return {};
}

bool hasAtom(const Property& p, Atom a) {
    if (p.format != 32)
        return false;
    const auto* items = reinterpret_cast<const long*>(p.data.get());
    for (unsigned long i = 0; i < p.count; ++i)
        if (static_cast<Atom>(items[i]) == a)
            return true;
    return false;
}

std::optional<WindowEntry> describe(Display* d, Window w) {
    XWindowAttributes attrs;
    if (!XGetWindowAttributes(d, w, &attrs))
        return std::nullopt;
    WindowEntry e;
    e.handle = static_cast<WindowHandle>(w);
    e.title = textProperty(d, w);
    XClassHint hint{nullptr, nullptr};
    if (XGetClassHint(d, w, &hint)) {
        e.className = QString::fromLocal8Bit(hint.res_class);
        XFree(hint.res_name);
        XFree(hint.res_class);
    }
    const Property pid = readProperty(d, w, atom(d, "_NET_WM_PID"), XA_CARDINAL);
    if (pid.count > 0 && pid.format == 32)
        e.pid = *reinterpret_cast<const long*>(pid.data.get());
    const Property state = readProperty(d, w, atom(d, "_NET_WM_STATE"), XA_ATOM);
    const Property wmState = readProperty(d, w, atom(d, "WM_STATE"));
    const bool iconicState = wmState.count > 0 && wmState.format == 32 &&
                             *reinterpret_cast<const long*>(wmState.data.get()) == IconicState;
    e.minimised = iconicState || hasAtom(state, atom(d, "_NET_WM_STATE_HIDDEN"));
    e.visible = attrs.map_state == IsViewable && !e.minimised;
    Window owner = None;
    if (XGetTransientForHint(d, w, &owner) && owner != DefaultRootWindow(d))
        e.owner = static_cast<WindowHandle>(owner);
    const Property types = readProperty(d, w, atom(d, "_NET_WM_WINDOW_TYPE"), XA_ATOM);
    e.toolWindow = hasAtom(types, atom(d, "_NET_WM_WINDOW_TYPE_UTILITY")) ||
                   hasAtom(types, atom(d, "_NET_WM_WINDOW_TYPE_TOOLBAR")) ||
                   hasAtom(types, atom(d, "_NET_WM_WINDOW_TYPE_DIALOG"));
    return e;
}

std::vector<Window> clientWindows(Display* d) {
    const Window root = DefaultRootWindow(d);
    std::vector<Window> list;
    const Property clients = readProperty(d, root, atom(d, "_NET_CLIENT_LIST"), XA_WINDOW);
    if (clients.format == 32 && clients.count > 0) {
        const auto* items = reinterpret_cast<const long*>(clients.data.get());
        list.assign(items, items + clients.count);
        return list;
    }
    Window rootOut = None, parent = None;
    Window* children = nullptr;
    unsigned int n = 0;
    if (XQueryTree(d, root, &rootOut, &parent, &children, &n)) {
        for (unsigned int i = 0; i < n; ++i) {
            XWindowAttributes attrs;
            if (XGetWindowAttributes(d, children[i], &attrs) && !attrs.override_redirect &&
                attrs.c_class == InputOutput)
                list.push_back(children[i]);
        }
        if (children)
            XFree(children);
    }
    return list;
}

}  // namespace

std::vector<WindowEntry> topLevelWindows() {
    std::vector<WindowEntry> list;
    const DisplayPtr d = openDisplay();
    if (!d)
        return list;
    for (Window w : clientWindows(d.get()))
        if (auto e = describe(d.get(), w))
            list.push_back(*e);
    return list;
}

std::optional<WindowEntry> windowEntry(WindowHandle handle) {
    const DisplayPtr d = openDisplay();
    if (!d || handle == 0)
        return std::nullopt;
    return describe(d.get(), static_cast<Window>(handle));
}

}  // namespace plat
