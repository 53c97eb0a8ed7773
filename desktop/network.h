#pragma once
// The computer's network name and address as a Windows machine on a network answers
// them: its host name and the first IPv4 address of that name, four decimal numbers
// joined by ".".
#include <QString>

namespace plat {
class HostLookup;
}

namespace desk {

// Sets hostName (the ANSI text of the host name) and ipAddr; true when both are known.
// Failures are told through wsaErr: "Winsock is not responding.\"" when the socket
// library cannot start (nothing else touched), "WSAEInProgress", "WSAENetDown" or
// "WSANotInitialised" when the host name cannot be had (wsaErr unchanged for any other
// reason). ipAddr is emptied as soon as the library has started.
bool getIpFromHost(plat::HostLookup& lookup, QString& hostName, QString& ipAddr, QString& wsaErr);

// The computer name: the host name up to its first ".", as GetComputerName answers the
// machine's own name without its domain.
QString computerName(plat::HostLookup& lookup);

}  // namespace desk
