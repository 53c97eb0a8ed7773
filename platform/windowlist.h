#pragma once
// The desktop's top-level windows, as EnumWindows walks them. Under X11 they are the
// window manager's client list (EWMH _NET_CLIENT_LIST, in its order), or the mapped
// children of the root window where no window manager keeps one. A window's owner is
// its WM_TRANSIENT_FOR; utility, toolbar and dialog window types stand for tool
// windows; the owning process is _NET_WM_PID. Without an X11 display the list is empty.
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace plat {

using WindowHandle = std::uint32_t;  // 0: none

struct WindowEntry {
    WindowHandle handle = 0;
    QString title;
    QString className;
    qint64 pid = 0;          // 0 when the window does not say
    bool visible = false;    // mapped and not hidden by the window manager
    bool minimised = false;  // iconic
    WindowHandle owner = 0;  // WM_TRANSIENT_FOR; 0 for none or the root
    bool toolWindow = false;
};

// Every top-level window in the window system's order.
std::vector<WindowEntry> topLevelWindows();
// One window by handle; nothing when it does not exist or there is no display.
std::optional<WindowEntry> windowEntry(WindowHandle handle);

}  // namespace plat
