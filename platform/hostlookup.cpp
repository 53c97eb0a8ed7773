#include "hostlookup.h"

#include <cerrno>
#include <cstring>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <unistd.h>

namespace plat {

namespace {

Ipv4 toIpv4(const sockaddr* sa) {
    const auto* in = reinterpret_cast<const sockaddr_in*>(sa);
    Ipv4 ip{};
    std::memcpy(ip.data(), &in->sin_addr.s_addr, 4);  // network order: first number first
    return ip;
}

HostLookup* g_installed = nullptr;

}  // namespace

int SystemHostLookup::hostName(QByteArray& name, int bufferSize) {
    QByteArray buffer(bufferSize > 0 ? bufferSize : 1, '\0');
    if (gethostname(buffer.data(), std::size_t(buffer.size())) != 0)
        return errno == ENAMETOOLONG ? 10014 : 10050;  // a buffer too small; otherwise no network
    buffer[buffer.size() - 1] = '\0';
    name = QByteArray(buffer.constData());
    return 0;
}

std::vector<Ipv4> SystemHostLookup::addresses(const QByteArray& name) {
    std::vector<Ipv4> result;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;  // one entry per address instead of one per socket type
    addrinfo* list = nullptr;
    if (getaddrinfo(name.constData(), nullptr, &hints, &list) != 0)
        return result;
    for (const addrinfo* a = list; a; a = a->ai_next)
        if (a->ai_family == AF_INET)
            result.push_back(toIpv4(a->ai_addr));
    freeaddrinfo(list);
    return result;
}

std::vector<Ipv4> SystemHostLookup::interfaceAddresses() {
    std::vector<Ipv4> result;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return result;
    for (const ifaddrs* a = list; a; a = a->ifa_next)
        if (a->ifa_addr && a->ifa_addr->sa_family == AF_INET && (a->ifa_flags & IFF_UP))
            result.push_back(toIpv4(a->ifa_addr));
    freeifaddrs(list);
    return result;
}

HostLookup& hostLookup() {
    static SystemHostLookup system;
    return g_installed ? *g_installed : system;
}

HostLookup* setHostLookup(HostLookup* lookup) {
    HostLookup* previous = g_installed;
    g_installed = lookup;
    return previous;
}

}  // namespace plat
