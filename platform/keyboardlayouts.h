#pragma once
// Keyboard layouts as the program drives them: load a layout by its eight-digit
// identifier ("00000429" Persian, "a0000429" Persian standard, "00000409" US English),
// optionally activating it, and unload it by its handle.
//
// The stand-in keeps the state itself: the loaded layouts, the active one and a journal
// of every load, activation and unload, which tests read. The process's own stand-in
// also switches the X keyboard: activating a Persian layout locks the XKB group that
// holds "ir", US English the one that holds "us", where Qt runs on X11 and the keyboard
// map has such a group (setxkbmap -layout us,ir); otherwise the keyboard is left alone.
#include <QString>
#include <QStringList>
#include <cstdint>

namespace plat {

using KeyboardLayoutHandle = std::uintptr_t;  // 0: no layout

// Flag of load(): make the loaded layout the active one.
constexpr unsigned KLF_ACTIVATE = 1;

class KeyboardLayouts {
public:
    virtual ~KeyboardLayouts() = default;
    // Loads the layout named by an eight-digit identifier; answers its handle, 0 when
    // the name is not one. Loading a loaded layout answers the same handle.
    virtual KeyboardLayoutHandle load(const QString& layoutId, unsigned flags) = 0;
    // Unloads a loaded layout; false for an unknown handle.
    virtual bool unload(KeyboardLayoutHandle handle) = 0;
};

// The stand-in: keeps the state and journals each call as "load ID", "activate ID" and
// "unload ID" (the latest 1000 entries).
class RecordingKeyboardLayouts : public KeyboardLayouts {
public:
    KeyboardLayoutHandle load(const QString& layoutId, unsigned flags) override;
    bool unload(KeyboardLayoutHandle handle) override;

    QString active() const { return m_active; }
    QStringList loaded() const { return m_loaded; }
    QStringList journal() const { return m_journal; }
    void clearJournal() { m_journal.clear(); }

protected:
    // Called when a layout becomes the active one.
    virtual void activated(const QString&) {}

private:
    void record(const QString& entry);
    QStringList m_loaded;  // index + 1 is the handle
    QStringList m_ids;     // every identifier ever loaded, for stable handles
    QString m_active;
    QStringList m_journal;
};

// The process-wide layouts the toolkit uses.
KeyboardLayouts& keyboardLayouts();
// Replaces them (tests); nullptr restores the process's own stand-in. Not owned.
void setKeyboardLayouts(KeyboardLayouts* layouts);
// The process's own stand-in, for tests that read its state and journal.
RecordingKeyboardLayouts& defaultKeyboardLayouts();

}  // namespace plat
