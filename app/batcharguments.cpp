#include "batcharguments.h"

#include "app/startupoptions.h"

namespace {

bool isOption(const QString& argument) { return argument.startsWith(QLatin1String("--")); }

}  // namespace

QString batchUsage() { return programUsage(); }

BatchArguments parseBatchArguments(const QStringList& arguments) {
    BatchArguments parsed;
    bool transfer = false;
    bool credentials = false;
    bool screenshot = false;
    QStringList unknown;
    const qsizetype start = !arguments.isEmpty() && !isOption(arguments.first()) ? 1 : 0;
    for (qsizetype i = start; i < arguments.size(); ++i) {
        QString option = arguments.at(i);
        std::optional<QString> inlineValue;
        if (const qsizetype eq = option.indexOf(QLatin1Char('=')); isOption(option) && eq > 0) {
            inlineValue = option.mid(eq + 1);
            option.truncate(eq);
        }
        // The option's value: after '=' or the next argument.
        auto value = [&]() -> std::optional<QString> {
            if (inlineValue)
                return inlineValue;
            if (i + 1 < arguments.size())
                return arguments.at(++i);
            parsed.error = option + QStringLiteral(" needs a value");
            return std::nullopt;
        };
        QString* target = nullptr;
        if (option == QLatin1String("--transfer")) {
            transfer = true;
            target = &parsed.transferFile;
        } else if (option == QLatin1String("--customer")) {
            target = &parsed.customer;
        } else if (option == QLatin1String("--server")) {
            target = &parsed.server;
        } else if (option == QLatin1String("--database")) {
            target = &parsed.database;
        } else if (option == QLatin1String("--user")) {
            target = &parsed.user;
        } else if (option == QLatin1String("--password")) {
            target = &parsed.password;
        } else if (option == QLatin1String("--group")) {
            target = &parsed.group;
        } else if (option == QLatin1String("--app-dir") || option == QLatin1String("--screenshot")) {
            screenshot = screenshot || option == QLatin1String("--screenshot");
            if (!value())
                return parsed;
            continue;
        } else if (option == QLatin1String("--dry-run")) {
            parsed.dryRun = true;
            continue;
        } else if (option == QLatin1String("--write-credentials")) {
            credentials = true;
            continue;
        } else {
            unknown << arguments.at(i);
            continue;
        }
        const std::optional<QString> v = value();
        if (!v)
            return parsed;
        *target = *v;
        if (target == &parsed.password)
            parsed.passwordGiven = true;
    }

    if (!transfer && !credentials) {
        // The window takes the shared options only.
        if (parsed.dryRun || !parsed.customer.isEmpty())
            parsed.error = QStringLiteral("--dry-run and --customer belong to --transfer");
        else if (!parsed.server.isEmpty() || !parsed.database.isEmpty() || !parsed.user.isEmpty() ||
                 parsed.passwordGiven || !parsed.group.isEmpty())
            parsed.error = QStringLiteral("--server, --database, --user, --password and --group belong to "
                                          "--write-credentials");
        return parsed;
    }
    if (transfer && credentials) {
        parsed.error = QStringLiteral("--transfer and --write-credentials cannot be combined");
        return parsed;
    }
    if (!unknown.isEmpty()) {
        parsed.error = QStringLiteral("unknown argument: ") + unknown.first();
        return parsed;
    }
    if (screenshot) {
        parsed.error = QStringLiteral("--screenshot belongs to the window");
        return parsed;
    }
    if (transfer) {
        parsed.mode = BatchArguments::Mode::Transfer;
        if (parsed.transferFile.isEmpty())
            parsed.error = QStringLiteral("--transfer needs a file");
        else if (!parsed.group.isEmpty())
            parsed.error = QStringLiteral("--group belongs to --write-credentials");
        return parsed;
    }
    parsed.mode = BatchArguments::Mode::WriteCredentials;
    if (parsed.dryRun || !parsed.customer.isEmpty())
        parsed.error = QStringLiteral("--dry-run and --customer belong to --transfer");
    // The password may be empty; the other three name something.
    else if (parsed.server.isEmpty() || parsed.database.isEmpty() || parsed.user.isEmpty() || !parsed.passwordGiven)
        parsed.error = QStringLiteral("--write-credentials needs --server, --database, --user and --password");
    return parsed;
}
