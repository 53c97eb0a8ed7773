#pragma once
// The shell's change notice for file associations (SHChangeNotify with
// SHCNE_ASSOCCHANGED): the desktop reads its file types again. The Linux stand-in
// rebuilds the user's shared-mime-info database and desktop-entry cache with
// update-mime-database and update-desktop-database when they are installed, and waits
// for them; tests install the recording one.
#include <QString>

namespace plat {

class ShellNotify {
public:
    virtual ~ShellNotify() = default;
    virtual void associationsChanged() = 0;
};

class RecordingShellNotify : public ShellNotify {
public:
    void associationsChanged() override { ++m_count; }
    int count() const { return m_count; }

private:
    int m_count = 0;
};

// The user's data folder the desktop reads file types from ($XDG_DATA_HOME or
// ~/.local/share).
QString userDataFolder();

ShellNotify& shellNotify();
// Installs a notifier (nullptr: back to the update tools); answers the one it replaces.
ShellNotify* setShellNotify(ShellNotify* notify);

}  // namespace plat
