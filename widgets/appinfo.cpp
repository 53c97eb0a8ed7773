#include "appinfo.h"

TAppInfo::TAppInfo(QObject* parent) : QObject(parent) {}

bool TAppInfo::isApplicationWindow(const plat::WindowEntry& w) {
    return w.visible && w.owner == 0 && !w.toolWindow;
}

void TAppInfo::setActive(bool on) {
    if (on && !m_active) {
        m_list.clear();
        for (const plat::WindowEntry& w : m_source ? m_source() : plat::topLevelWindows())
            if (isApplicationWindow(w))
                m_list.push_back(w);
    }
    if (!on)
        m_list.clear();
    m_active = on;
}
