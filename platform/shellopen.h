#pragma once
// The shell's "open" verb (ShellExecute with "open"): opens a document with the program
// associated with it. The Linux stand-in hands the file to xdg-open; tests install the
// recording one. The shell's answer is not reported to the caller.
#include <QString>
#include <QStringList>

namespace plat {

class ShellOpen {
public:
    virtual ~ShellOpen() = default;
    virtual void open(const QString& fileName) = 0;
};

class RecordingShellOpen : public ShellOpen {
public:
    void open(const QString& fileName) override { m_opened.append(fileName); }
    const QStringList& opened() const { return m_opened; }

private:
    QStringList m_opened;
};

// The shell in use: the installed one, otherwise xdg-open.
ShellOpen& shellOpen();
// Installs a shell (nullptr: back to xdg-open); answers the one it replaces.
ShellOpen* setShellOpen(ShellOpen* shell);

class ScopedShellOpen {
public:
    explicit ScopedShellOpen(ShellOpen* shell) : m_previous(setShellOpen(shell)) {}
    ~ScopedShellOpen() { setShellOpen(m_previous); }
    ScopedShellOpen(const ScopedShellOpen&) = delete;
    ScopedShellOpen& operator=(const ScopedShellOpen&) = delete;

private:
    ShellOpen* m_previous;
};

}  // namespace plat
