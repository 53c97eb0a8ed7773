#pragma once
// The shell's "open" verb (ShellExecute with "open"): opens a document with the program
// associated with it. The Linux stand-in hands the file to xdg-open; tests install the
// recording one. The shell's answer is not reported to the caller. Parameters go to a
// program that is opened; a document ignores them, as on Windows.
#include <QString>
#include <QStringList>

namespace plat {

class ShellOpen {
public:
    virtual ~ShellOpen() = default;
    virtual void open(const QString& fileName, const QString& parameters) = 0;
    void open(const QString& fileName) { open(fileName, QString()); }
};

class RecordingShellOpen : public ShellOpen {
public:
    using ShellOpen::open;
    void open(const QString& fileName, const QString& parameters) override {
        m_opened.append(fileName);
        m_parameters.append(parameters);
    }
    const QStringList& opened() const { return m_opened; }
    const QStringList& parameters() const { return m_parameters; }

private:
    QStringList m_opened;
    QStringList m_parameters;
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
