// The toolkit's network name and address.
#include "toolkit/tools.h"

#include "desktop/network.h"
#include "platform/hostlookup.h"

bool TTools::GetIPFromHost(QString& HostName, QString& IPaddr, QString& WSAErr) {
    return desk::getIpFromHost(plat::hostLookup(), HostName, IPaddr, WSAErr);
}

QString TTools::GetComputerNameX() { return desk::computerName(plat::hostLookup()); }
