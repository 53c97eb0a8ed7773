#pragma once
// The window monitor of the widget set: the application windows of the desktop (top
// level, visible, without owner, not tool windows), taken afresh each time the monitor
// is switched on, in the window system's order.
#include "platform/windowlist.h"

#include <QObject>
#include <functional>
#include <vector>

class TAppInfo : public QObject {
    Q_OBJECT
public:
    using Source = std::function<std::vector<plat::WindowEntry>()>;
    explicit TAppInfo(QObject* parent = nullptr);

    void setActive(bool on);
    bool active() const { return m_active; }
    const std::vector<plat::WindowEntry>& windows() const { return m_list; }

    // Where the top-level windows come from; empty: the X11 display.
    void setSource(Source source) { m_source = std::move(source); }

    // The rule of an application window.
    static bool isApplicationWindow(const plat::WindowEntry& w);

private:
    Source m_source;
    std::vector<plat::WindowEntry> m_list;
    bool m_active = false;
};
