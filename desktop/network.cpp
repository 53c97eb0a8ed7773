#include "network.h"

#include "platform/ansicodec.h"
#include "platform/hostlookup.h"

#include <QStringList>
#include <optional>

namespace desk {

namespace {

bool isLoopback(const plat::Ipv4& ip) { return ip[0] == 127; }

std::optional<plat::Ipv4> firstNotLoopback(const std::vector<plat::Ipv4>& list) {
    for (const plat::Ipv4& ip : list)
        if (!isLoopback(ip))
            return ip;
    return std::nullopt;
}

// Windows answers its own name with the addresses of its network interfaces, loopback
// only when it has no other. Debian names the machine 127.0.1.1 in /etc/hosts, so the
// resolver's answer is passed over for the interfaces when it holds loopback alone.
std::optional<plat::Ipv4> machineAddress(plat::HostLookup& lookup, const QByteArray& name) {
    const std::vector<plat::Ipv4> resolved = lookup.addresses(name);
    if (auto ip = firstNotLoopback(resolved))
        return ip;
    if (auto ip = firstNotLoopback(lookup.interfaceAddresses()))
        return ip;
    if (!resolved.empty())
        return resolved.front();
    return std::nullopt;
}

QString dotted(const plat::Ipv4& ip) {
    QStringList parts;
    for (std::uint8_t b : ip)
        parts << QString::number(b);
    return parts.join(u'.');
}

}  // namespace

bool getIpFromHost(plat::HostLookup& lookup, QString& hostName, QString& ipAddr, QString& wsaErr) {
    if (lookup.startup() != 0) {
        wsaErr = QStringLiteral("Winsock is not responding.\"");
        return false;
    }
    ipAddr.clear();
    QByteArray name;
    bool ok = false;
    if (const int err = lookup.hostName(name, 202)) {
        switch (err) {
        case 10036:
            wsaErr = QStringLiteral("WSAEInProgress");
            break;
        case 10050:
            wsaErr = QStringLiteral("WSAENetDown");
            break;
        case 10093:
            wsaErr = QStringLiteral("WSANotInitialised");
            break;
        default:
            break;
        }
    } else {
        hostName = plat::fromAnsi(name);
        // A name that resolves to nothing, with no interface either: false with ipAddr
        // left empty and wsaErr as it was.
        if (const std::optional<plat::Ipv4> ip = machineAddress(lookup, name)) {
            ipAddr = dotted(*ip);
            ok = true;
        }
    }
    lookup.cleanup();
    return ok;
}

QString computerName(plat::HostLookup& lookup) {
    QByteArray name;
    if (lookup.hostName(name, 256) != 0)
        return {};
    const qsizetype dot = name.indexOf('.');
    return plat::fromAnsi(dot < 0 ? name : name.left(dot));
}

}  // namespace desk
