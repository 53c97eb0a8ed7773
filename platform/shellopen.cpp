#include "shellopen.h"

#include "processstart.h"

#include <QFileInfo>
#include <QProcess>

namespace plat {

namespace {

// Started detached and not waited for, as the shell returns at once; a missing
// xdg-open or an unknown file type is passed over. A program is started itself, with
// the parameters split as its command line would be.
class XdgOpen : public ShellOpen {
public:
    using ShellOpen::open;
    void open(const QString& fileName, const QString& parameters) override {
        const QFileInfo info(fileName);
        if (info.isFile() && info.isExecutable()) {
            QProcess::startDetached(fileName, splitCommandLine(QStringLiteral("x ") + parameters).mid(1));
            return;
        }
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
