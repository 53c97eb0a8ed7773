#include "x11desktop.h"

#include <QGuiApplication>
#include <QStringList>
#include <QWidget>
#include <QWindow>

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

}  // namespace plat
