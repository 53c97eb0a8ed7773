#pragma once
// The host name and addresses as the socket library reports them (the Winsock start-up,
// gethostname, gethostbyname) and the machine's interface addresses, behind one seam so
// tests can stand in for each failure.
#include <QByteArray>
#include <array>
#include <cstdint>
#include <vector>

namespace plat {

using Ipv4 = std::array<std::uint8_t, 4>;

class HostLookup {
public:
    virtual ~HostLookup() = default;
    // 0 when the socket library can be used, else its error code.
    virtual int startup() = 0;
    virtual void cleanup() = 0;
    // The local host name into at most bufferSize bytes (the terminating zero included);
    // 0 or the error code (10036 in progress, 10050 network down, 10093 not started, ...).
    virtual int hostName(QByteArray& name, int bufferSize) = 0;
    // The IPv4 addresses the name resolves to, in the resolver's order; empty: none.
    virtual std::vector<Ipv4> addresses(const QByteArray& name) = 0;
    // The IPv4 addresses of this machine's interfaces that are up.
    virtual std::vector<Ipv4> interfaceAddresses() = 0;
};

// gethostname, getaddrinfo and getifaddrs of this system.
class SystemHostLookup : public HostLookup {
public:
    int startup() override { return 0; }
    void cleanup() override {}
    int hostName(QByteArray& name, int bufferSize) override;
    std::vector<Ipv4> addresses(const QByteArray& name) override;
    std::vector<Ipv4> interfaceAddresses() override;
};

HostLookup& hostLookup();
// Installs a lookup (nullptr: the system's); answers the one replaced. Not owned.
HostLookup* setHostLookup(HostLookup* lookup);

}  // namespace plat
