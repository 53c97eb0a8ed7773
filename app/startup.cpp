#include "startup.h"

#include "app/appearance.h"
#include "app/batch.h"
#include "app/consoledialogs.h"
#include "app/datamodule.h"
#include "app/fontconfigsetup.h"
#include "app/gallery.h"
#include "app/mainform.h"
#include "app/startupoptions.h"
#include "connection/discoveryhooks.h"
#include "platform/appexit.h"
#include "toolkit/tools.h"

#include <QApplication>
#include <QPixmap>
#include <cstdio>
#include <memory>

namespace {

void printError(const QString& text) { std::fprintf(stderr, "bvtransfer: %s\n", text.toUtf8().constData()); }

// The screenshot runs without a user: the end that would leave the process at once
// becomes an ordinary end request, so the picture is still taken.
void requestFailedEnd(int) { plat::requestEnd(true); }

}  // namespace

int runProgram(int argc, char** argv) {
    useShippedFontConfig();
    const bool display = displayAvailable();
    // Headless modes and the screenshot need the application object too.
    if (!display)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const StartupOptions startup = parseStartupOptions(arguments);
    if (!startup.error.isEmpty()) {
        printError(startup.error);
        std::fputs(programUsage().toUtf8().constData(), stderr);
        return 2;
    }
    if (startup.help || startup.version) {
        const QString text = startup.help ? programUsage() : programVersion() + u'\n';
        std::fputs(text.toUtf8().constData(), stdout);
        return 0;
    }
    const QString appPath = applicationPath(startup.appDir, QCoreApplication::applicationDirPath());

    if (const std::optional<int> status = runBatchMode(arguments, appPath))
        return *status;
    applyPersianAppearance();
    if (!startup.gallery.isEmpty())
        return runGallery(startup.gallery);
    const bool screenshot = !startup.screenshot.isEmpty();
    if (!display && !screenshot) {
        printError(QStringLiteral("no display to show the window on (neither DISPLAY nor WAYLAND_DISPLAY "
                                  "is set); use --screenshot FILE.png or a headless mode"));
        return 2;
    }

    ToolsOptions toolsOptions;
    toolsOptions.appPath = appPath;
    std::unique_ptr<ConsoleDialogs> consoleDialogs;
    if (screenshot) {
        consoleDialogs = std::make_unique<ConsoleDialogs>();
        toolsOptions.dialogs = consoleDialogs.get();
        conn::setExitProcess(&requestFailedEnd);
        conn::setCustomerChooser([](const QStringList&) { return std::optional<QString>(); });
    }

    // The three objects of the run, in this order; each sets its program-wide reference
    // before its creation steps, which call the toolkit through it. Destroyed in the
    // reverse order when the loop has ended.
    auto mainForm = std::make_unique<TMainForm>();
    auto tools = std::make_unique<TTools>(toolsOptions);
    NoLoginPrompt noLogin;
    if (screenshot)
        tools->MSConnectDialog2 = &noLogin;
    auto dataModule = std::make_unique<TDM>();

    if (screenshot) {
        if (!mainForm->grab().save(startup.screenshot, "PNG")) {
            printError(QStringLiteral("cannot write ") + startup.screenshot);
            return 1;
        }
        return 0;
    }
    return runMainLoop(*mainForm);
}

int runMainLoop(TMainForm& mainForm) {
    // A quit asked before the loop runs is lost: a start-up that requested the end
    // ends here.
    if (plat::endRequested())
        return plat::AppExit::instance().exitStatus();
    mainForm.show();
    const int status = QApplication::exec();
    return plat::endRequested() ? plat::AppExit::instance().exitStatus() : status;
}
