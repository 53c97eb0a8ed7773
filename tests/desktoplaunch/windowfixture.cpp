// A program that shows the windows its arguments ask for, for the window-finding tests:
// each argument is KIND:TITLE with KIND normal, tool, hidden, owned (transient for the
// window before it) or iconic. It prints the windows' handles on one line once the X
// server has them, then keeps them until its standard input closes.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    Display* d = XOpenDisplay(nullptr);
    if (!d)
        return 2;
    const Window root = DefaultRootWindow(d);
    const Atom pidAtom = XInternAtom(d, "_NET_WM_PID", False);
    const Atom typeAtom = XInternAtom(d, "_NET_WM_WINDOW_TYPE", False);
    const Atom utility = XInternAtom(d, "_NET_WM_WINDOW_TYPE_UTILITY", False);
    const Atom netName = XInternAtom(d, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    const long pid = getpid();
    std::vector<Window> windows;
    for (int i = 1; i < argc; ++i) {
        const std::string request = argv[i];
        const std::string kind = request.substr(0, request.find(':'));
        const std::string title = request.find(':') == std::string::npos ? "" : request.substr(request.find(':') + 1);
        const Window w = XCreateSimpleWindow(d, root, 10 * i, 10 * i, 120, 80, 0, 0, 0xFFFFFF);
        XChangeProperty(d, w, pidAtom, XA_CARDINAL, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
        XStoreName(d, w, title.c_str());
        XChangeProperty(d, w, netName, utf8, 8, PropModeReplace, reinterpret_cast<const unsigned char*>(title.data()),
                        static_cast<int>(title.size()));
        XClassHint hint{const_cast<char*>("fixture"), const_cast<char*>("WindowFixture")};
        XSetClassHint(d, w, &hint);
        if (kind == "tool")
            XChangeProperty(d, w, typeAtom, XA_ATOM, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(&utility), 1);
        if (kind == "owned" && !windows.empty())
            XSetTransientForHint(d, w, windows.back());
        if (kind == "iconic") {
            XWMHints hints{};
            hints.flags = StateHint;
            hints.initial_state = IconicState;
            XSetWMHints(d, w, &hints);
        }
        if (kind != "hidden")
            XMapWindow(d, w);
        windows.push_back(w);
    }
    XSync(d, False);
    for (size_t i = 0; i < windows.size(); ++i)
        std::printf(i ? " %lu" : "%lu", windows[i]);
    std::printf("\n");
    std::fflush(stdout);
    char buf[64];
    while (read(0, buf, sizeof buf) > 0) {
    }
    XCloseDisplay(d);
    return 0;
}
