#include "batch.h"

#include "app/batcharguments.h"
#include "app/consoledialogs.h"
#include "app/datamodule.h"
#include "app/transfer.h"
#include "connection/credentialsfile.h"
#include "connection/discoveryhooks.h"
#include "platform/appexit.h"
#include "platform/secretline.h"
#include "toolkit/tools.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>
#include <memory>

namespace {

// Exit statuses of the headless transfer.
constexpr int kSucceeded = 0;
constexpr int kTransferFailed = 1;
constexpr int kStartFailed = 2;

void printLine(std::FILE* out, const QString& text) {
    std::fputs(text.toUtf8().constData(), out);
    std::fputc('\n', out);
    std::fflush(out);
}

QString applicationDir(const QString& appPath) {
    if (!appPath.isEmpty())
        return appPath.endsWith(QLatin1Char('/')) ? appPath : appPath + QLatin1Char('/');
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath() + QLatin1Char('/');
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath() + QLatin1Char('/');
}

int writeCredentials(const BatchArguments& arguments, const QString& appPath) {
    da::ConnectParams params;
    params.server = arguments.server;
    params.database = arguments.database;
    params.user = arguments.user;
    params.password = arguments.password == QLatin1String("-") ? plat::readSecretLine() : arguments.password;
    const QString path = applicationDir(appPath) + QLatin1String(conn::kCredentialsFileName);
    try {
        conn::writeCredentialsFile(path, params, arguments.group);
    } catch (const std::exception& error) {
        printLine(stderr, QString::fromUtf8(error.what()));
        return kStartFailed;
    }
    printLine(stdout, QStringLiteral("written: ") + path);
    return kSucceeded;
}

QString figure(long long value) { return value < 0 ? QStringLiteral("-") : QString::number(value); }

void printSummary(const TransferSummary& summary, bool dryRun) {
    for (const QString& regNo : summary.unmatchedRegNos)
        printLine(stdout, QStringLiteral("without a matching animal: ") + regNo);
    printLine(stdout, QStringLiteral("rows read from the file: ") + figure(summary.rowsRead));
    printLine(stdout, QStringLiteral("registration numbers repaired: ") + figure(summary.regNosRepaired));
    printLine(stdout, (dryRun ? QStringLiteral("rows that would be added to BV (dry run): ")
                              : QStringLiteral("rows added to BV: ")) +
                          figure(summary.rowsAdded));
    printLine(stdout, QStringLiteral("file rows without a matching animal: ") + figure(summary.unmatchedRows));
    switch (summary.readBy) {
    case FileReadBy::Server: printLine(stdout, QStringLiteral("the file was read by the server")); break;
    case FileReadBy::ThisComputer: printLine(stdout, QStringLiteral("the file was read on this computer")); break;
    case FileReadBy::Nobody: printLine(stdout, QStringLiteral("the file was not read")); break;
    }
}

// Checks what a window would have asked a person for; answers a reason to stop.
QString unattendedStartProblem(const BatchArguments& arguments, const QString& dir) {
    if (QFileInfo::exists(dir + QLatin1String(conn::kMultiUsersMarkerName))) {
        if (arguments.customer.isEmpty())
            return QStringLiteral("this installation serves several customers: name one with --customer NAME");
        if (!QFileInfo::exists(dir + QLatin1String(conn::kRememberedConnectionName)))
            return QStringLiteral("no remembered connection to the customer catalogue (") +
                   QLatin1String(conn::kRememberedConnectionName) +
                   QStringLiteral("): log in once with the window first");
        return {};
    }
    if (!QFileInfo::exists(dir + QLatin1String(conn::kCredentialsFileName)))
        return QStringLiteral("no credentials file ") + dir + QLatin1String(conn::kCredentialsFileName) +
               QStringLiteral(": write one with --write-credentials");
    return {};
}

int transferHeadless(const BatchArguments& arguments, const QString& appPath) {
    const QString dir = applicationDir(appPath);
    if (const QString problem = unattendedStartProblem(arguments, dir); !problem.isEmpty()) {
        printLine(stderr, problem);
        return kStartFailed;
    }

    std::unique_ptr<QApplication> ownApplication;
    static int argc = 1;
    static char name[] = "bvtransfer";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) {
        // No window is shown; the toolkit form is still a widget and needs a platform.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        ownApplication = std::make_unique<QApplication>(argc, argv);
    }

    ConsoleDialogs dialogs;
    NoLoginPrompt noLogin;
    ToolsOptions options;
    options.dialogs = &dialogs;
    options.appPath = dir;
    const QString customer = arguments.customer;
    conn::setCustomerChooser([customer](const QStringList& names) -> std::optional<QString> {
        if (names.contains(customer))
            return customer;
        printLine(stderr, QStringLiteral("no customer named ") + customer + QStringLiteral(" in the catalogue"));
        return std::nullopt;
    });

    int status = kStartFailed;
    {
        TTools tools(options);
        tools.MSConnectDialog2 = &noLogin;
        TDM dm;
        if (!plat::endRequested() && dm.MainConnection.connected()) {
            const QFileInfo file(arguments.transferFile);
            TransferOptions transferOptions;
            transferOptions.dryRun = arguments.dryRun;
            transferOptions.collectFigures = true;
            transferOptions.showOutcome = false;
            const TransferSummary summary =
                runTransfer(tools, file.absolutePath() + QLatin1Char('/'), file.fileName(), transferOptions);
            printSummary(summary, arguments.dryRun);
            printLine(stdout, summary.message);
            status = summary.outcome == TransferOutcome::Finished ? kSucceeded : kTransferFailed;
        }
    }
    conn::setCustomerChooser({});
    return status;
}

}  // namespace

std::optional<int> runBatchMode(const QStringList& arguments, const QString& appPath) {
    const BatchArguments parsed = parseBatchArguments(arguments);
    if (!parsed.error.isEmpty()) {
        printLine(stderr, parsed.error);
        printLine(stderr, batchUsage());
        return kStartFailed;
    }
    switch (parsed.mode) {
    case BatchArguments::Mode::Window: return std::nullopt;
    case BatchArguments::Mode::WriteCredentials: return writeCredentials(parsed, appPath);
    case BatchArguments::Mode::Transfer: return transferHeadless(parsed, appPath);
    }
    return std::nullopt;
}
