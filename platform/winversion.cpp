#include "winversion.h"

#include "platform/registry.h"

#include <QStringList>

namespace plat {

namespace {

WinVersionSource* g_override = nullptr;

struct Parsed {
    std::optional<OsVersionInfo> info;
    std::optional<QString> productType;
};

Parsed parse() {
    if (!qEnvironmentVariableIsSet("BVT_WINVER"))
        return {OsVersionInfo{2, 6, 1, QString()}, std::nullopt};
    const QStringList fields = qEnvironmentVariable("BVT_WINVER").split(u';');
    if (fields.size() < 4 || fields.size() > 5)
        return {};
    bool ok[3] = {};
    OsVersionInfo info;
    info.platformId = fields[0].trimmed().toInt(&ok[0]);
    info.major = fields[1].trimmed().toInt(&ok[1]);
    info.minor = fields[2].trimmed().toInt(&ok[2]);
    if (!ok[0] || !ok[1] || !ok[2])
        return {};
    info.servicePack = fields[3];
    Parsed parsed{info, std::nullopt};
    if (fields.size() == 5)
        parsed.productType = fields[4];
    return parsed;
}

}  // namespace

std::optional<OsVersionInfo> EnvWinVersionSource::versionInfo() { return parse().info; }

std::optional<QString> EnvWinVersionSource::productType() {
    const Parsed parsed = parse();
    if (!parsed.info)
        return std::nullopt;
    if (parsed.productType)
        return parsed.productType;
    const reg::Key key =
        reg::Key::open(reg::Root::LocalMachine, QStringLiteral("SYSTEM\\CurrentControlSet\\Control\\ProductOptions"),
                       reg::Access::Read);
    try {
        return key.readString(QStringLiteral("ProductType"));
    } catch (const reg::RegistryError&) {
        return std::nullopt;  // a value of another kind counts as an unknown type
    }
}

WinVersionSource& winVersionSource() {
    static EnvWinVersionSource source;
    return g_override ? *g_override : source;
}

void setWinVersionSource(WinVersionSource* source) { g_override = source; }

}  // namespace plat
