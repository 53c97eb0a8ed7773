#include "processinfo.h"

namespace {

bool equalsAsciiCase(const QString& a, const QString& b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        QChar x = a[i], y = b[i];
        if (x.unicode() < 128)
            x = x.toLower();
        if (y.unicode() < 128)
            y = y.toLower();
        if (x != y)
            return false;
    }
    return true;
}

}  // namespace

TProcessInfo::TProcessInfo(QObject* parent) : QObject(parent) {}

void TProcessInfo::setActive(bool on) {
    if (on && !m_active)
        m_list = m_source ? m_source() : plat::runningProcesses();
    if (!on)
        m_list.clear();
    m_active = on;
}

std::optional<plat::ProcessEntry> TProcessInfo::findByName(const QString& name) const {
    for (const plat::ProcessEntry& p : m_list)
        if (equalsAsciiCase(p.exeName, name))
            return p;
    return std::nullopt;
}
