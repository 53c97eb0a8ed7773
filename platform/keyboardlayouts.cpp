#include "keyboardlayouts.h"

namespace plat {

namespace {

KeyboardLayouts* g_override = nullptr;

bool isLayoutId(const QString& id) {
    if (id.size() != 8)
        return false;
    for (QChar c : id) {
        const bool hex = (c >= u'0' && c <= u'9') || (c.toLower() >= u'a' && c.toLower() <= u'f');
        if (!hex)
            return false;
    }
    return true;
}

}  // namespace

KeyboardLayoutHandle RecordingKeyboardLayouts::load(const QString& layoutId, unsigned flags) {
    const QString id = layoutId.toLower();
    if (!isLayoutId(id))
        return 0;
    qsizetype index = m_ids.indexOf(id);
    if (index < 0) {
        m_ids.append(id);
        index = m_ids.size() - 1;
    }
    m_journal.append(QStringLiteral("load ") + id);
    if (!m_loaded.contains(id))
        m_loaded.append(id);
    if (flags & KLF_ACTIVATE) {
        m_active = id;
        m_journal.append(QStringLiteral("activate ") + id);
    }
    return KeyboardLayoutHandle(index + 1);
}

bool RecordingKeyboardLayouts::unload(KeyboardLayoutHandle handle) {
    if (handle == 0 || handle > KeyboardLayoutHandle(m_ids.size()))
        return false;
    const QString id = m_ids.at(qsizetype(handle) - 1);
    if (!m_loaded.removeOne(id))
        return false;
    m_journal.append(QStringLiteral("unload ") + id);
    // Unloading the active layout makes the most recently loaded remaining one active.
    if (m_active == id)
        m_active = m_loaded.isEmpty() ? QString() : m_loaded.constLast();
    return true;
}

RecordingKeyboardLayouts& defaultKeyboardLayouts() {
    static RecordingKeyboardLayouts layouts;
    return layouts;
}

KeyboardLayouts& keyboardLayouts() { return g_override ? *g_override : defaultKeyboardLayouts(); }

void setKeyboardLayouts(KeyboardLayouts* layouts) { g_override = layouts; }

}  // namespace plat
