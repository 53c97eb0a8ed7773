#include "shellopen.h"

#include <QProcess>

namespace plat {

namespace {

// Started detached and not waited for, as the shell returns at once; a missing
// xdg-open or an unknown file type is passed over.
class XdgOpen : public ShellOpen {
public:
    void open(const QString& fileName) override {
        QProcess::startDetached(QStringLiteral("xdg-open"), {fileName});
    }
};

ShellOpen* g_installed = nullptr;

}  // namespace

ShellOpen& shellOpen() {
    static XdgOpen xdg;
    return g_installed ? *g_installed : xdg;
}

ShellOpen* setShellOpen(ShellOpen* shell) {
    ShellOpen* previous = g_installed;
    g_installed = shell;
    return previous;
}

}  // namespace plat
