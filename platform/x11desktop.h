#pragma once
// The few X11 services the program uses where it runs on an X display: the keyboard
// group (XKB), the bell and the window manager's decoration hints. Everything here does
// nothing where Qt does not run on X11.
#include <QMargins>
#include <QString>
#include <optional>

class QWidget;
typedef struct _XDisplay Display;

namespace plat {

// The display Qt's windows live on; nullptr under any other platform.
Display* qtX11Display();

// The XKB group (0-based) that holds a layout, read from the keyboard map's symbols
// text as the server names it ("pc+us+ir:2+inet(evdev)"): the layout right after
// "pc" is the first group, a layout with ":N" is group N. Nothing when it is absent.
std::optional<int> xkbGroupOf(const QString& symbols, const QString& layout);

// The keyboard map's symbols text; empty when the server has no XKB.
QString xkbSymbols(Display* display);
// Locks the keyboard to the group that holds layout ("ir", "us"); false, changing
// nothing, when the map has no such group.
bool lockXkbLayout(Display* display, const QString& layout);
// The group the keyboard is locked to.
int xkbLockedGroup(Display* display);

// Rings the display's bell at its default volume.
void ringX11Bell(Display* display);

// The title of a window that shows none: an invisible right-to-left mark, because for
// an empty title Qt hands the window manager the program's name instead.
inline QString blankTitle() { return QString(QChar(0x200F)); }

// Asks the window manager for a border without a title bar: X11 window managers draw a
// title bar with their own buttons (and the program's name where the title is empty),
// and Motif hints that keep the title but drop the buttons are not honoured by all of
// them. Takes effect when the window is next mapped; call it before the first show.
void useBorderOnlyFrame(QWidget* window);

// The frame the window manager draws around a window (_NET_FRAME_EXTENTS). With ask,
// the manager is asked for it first (_NET_REQUEST_FRAME_EXTENTS) and the answer is
// awaited on the server's events; managers answer for windows they do not manage, so ask
// only before the window is mapped: a window placed from that answer is framed where it
// was placed, with no move once it shows. Nothing where the manager offers neither, or
// the window has no native window yet.
std::optional<QMargins> x11FrameExtents(QWidget* window, bool ask);

}  // namespace plat
