#include "keyboardlayouts.h"

#include "platform/x11desktop.h"

namespace plat {

namespace {

KeyboardLayouts* g_override = nullptr;

// The journal keeps the latest calls only: the program switches layouts every time the
// message board is shown, for as long as it runs.
constexpr qsizetype kJournalLimit = 1000;

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

void RecordingKeyboardLayouts::record(const QString& entry) {
    if (m_journal.size() >= kJournalLimit)
        m_journal.removeFirst();
    m_journal.append(entry);
}

KeyboardLayoutHandle RecordingKeyboardLayouts::load(const QString& layoutId, unsigned flags) {
    const QString id = layoutId.toLower();
    if (!isLayoutId(id))
        return 0;
    qsizetype index = m_ids.indexOf(id);
    if (index < 0) {
        m_ids.append(id);
        index = m_ids.size() - 1;
    }
    record(QStringLiteral("load ") + id);
    if (!m_loaded.contains(id))
        m_loaded.append(id);
    if (flags & KLF_ACTIVATE) {
        m_active = id;
        record(QStringLiteral("activate ") + id);
        activated(id);
    }
    return KeyboardLayoutHandle(index + 1);
}

bool RecordingKeyboardLayouts::unload(KeyboardLayoutHandle handle) {
    if (handle == 0 || handle > KeyboardLayoutHandle(m_ids.size()))
        return false;
    const QString id = m_ids.at(qsizetype(handle) - 1);
    if (!m_loaded.removeOne(id))
        return false;
    record(QStringLiteral("unload ") + id);
    // Unloading the active layout makes the most recently loaded remaining one active.
    if (m_active == id)
        m_active = m_loaded.isEmpty() ? QString() : m_loaded.constLast();
    return true;
}

namespace {

// The XKB layout of a layout identifier's language: its low word is the language
// (0x0429 Persian, 0x0409 US English).
QString xkbLayoutOf(const QString& id) {
    if (id.endsWith(QLatin1String("0429")))
        return QStringLiteral("ir");
    if (id.endsWith(QLatin1String("0409")))
        return QStringLiteral("us");
    return {};
}

class DesktopKeyboardLayouts : public RecordingKeyboardLayouts {
protected:
    void activated(const QString& id) override {
        const QString layout = xkbLayoutOf(id);
        if (Display* display = qtX11Display(); display && !layout.isEmpty())
            lockXkbLayout(display, layout);
    }
};

}  // namespace

RecordingKeyboardLayouts& defaultKeyboardLayouts() {
    static DesktopKeyboardLayouts layouts;
    return layouts;
}

KeyboardLayouts& keyboardLayouts() { return g_override ? *g_override : defaultKeyboardLayouts(); }

void setKeyboardLayouts(KeyboardLayouts* layouts) { g_override = layouts; }

}  // namespace plat
